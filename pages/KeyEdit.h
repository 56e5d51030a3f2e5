// CKeyEdit: the edit of a WEP key or of the passphrase, with typing rules.
#pragma once

#include <QLineEdit>

class CKeyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CKeyEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

    // 0: hexadecimal digits only; 1: any character.
    int m_AllowAnyChar = 0;
    // Most characters that may be typed; 0 = no limit.
    int m_MaxChars = 0;
};
