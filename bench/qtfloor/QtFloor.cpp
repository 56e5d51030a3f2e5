// A Qt 6 tray program with nothing of the utility in it: a tray icon, and a
// dialog of the sheet's size (392 x 379 pixels at scale 1) with five tabs,
// whose first tab holds ten read-only edits and two bars in the dialog font,
// their texts changed once a second. It opens the
// dialog when a line arrives on standard input, so bench/process-figures can
// read its memory before and after as it does the utility's: what Qt itself
// costs, beside which the utility's own share shows.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <unistd.h>

namespace {

QDialog* MakeDialog() {
    auto* dialog = new QDialog;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    dialog->setFont(font);
    auto* tabs = new QTabWidget(dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(tabs);
    layout->addWidget(new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, dialog));
    auto* first = new QWidget;
    auto* group = new QGroupBox(QStringLiteral("State"), first);
    group->setGeometry(8, 8, 344, 268);
    for (int row = 0; row < 10; ++row) {
        auto* label = new QLabel(QStringLiteral("Field %1:").arg(row), first);
        label->setGeometry(16, 24 + row * 22, 100, 20);
        auto* edit = new QLineEdit(first);
        edit->setReadOnly(true);
        edit->setGeometry(120, 24 + row * 22, 220, 20);
    }
    for (int bar = 0; bar < 2; ++bar) {
        auto* progress = new QProgressBar(first);
        progress->setGeometry(16, 248 + bar * 14, 324, 10);
        progress->setValue(40 + 20 * bar);
    }
    tabs->addTab(first, QStringLiteral("Link Info"));
    for (const char* title : {"Configuration", "Site Survey", "Encryption", "About"}) {
        tabs->addTab(new QWidget, QString::fromLatin1(title));
    }
    dialog->setFixedSize(392, 379);
    return dialog;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGreen);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.show();

    QDialog* dialog = nullptr;
    int tick = 0;
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, [&] {
        ++tick;
        for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
            edit->setText(QString::number(tick * 37 + edit->y()));
        }
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        if (read(STDIN_FILENO, line, sizeof line) <= 0) {
            QApplication::quit();
        } else if (dialog == nullptr) {
            dialog = MakeDialog();
            dialog->show();
            refresh.start(1000);
        }
    });
    const int result = QApplication::exec();
    delete dialog;
    return result;
}
