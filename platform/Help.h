// The application's help: a window showing the topic of a context number
// (102 Link Info, 103 Configuration, 104 Site Survey, 105 Encryption,
// 106 About), from the topics in res/help.
#pragma once

#include <QString>

class QWidget;

// Shows the topic of `context` in the help window (HELP_CONTEXT request).
void ShowHelpContext(int context);

// The HTML of a topic; an empty text when there is none.
QString HelpTopicHtml(int context);

// The context of the last request (0 before any); tests read it.
int LastHelpContext();
