#include "platform/Help.h"

#include "res/Strings.h"

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

int gLastContext = 0;
QPointer<QDialog> gHelpWindow;

} // namespace

QString HelpTopicHtml(int context) {
    QFile file(QStringLiteral(":/help/%1.html").arg(context));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

void ShowHelpContext(int context) {
    gLastContext = context;
    if (gHelpWindow == nullptr) {
        gHelpWindow = new QDialog(nullptr, Qt::Window);
        gHelpWindow->setAttribute(Qt::WA_DeleteOnClose);
        gHelpWindow->setObjectName(QStringLiteral("helpWindow"));
        // The window system adds the application's name to a window title;
        // the title itself names only what the window is.
        gHelpWindow->setWindowTitle(QStringLiteral("Help"));
        auto* layout = new QVBoxLayout(gHelpWindow);
        auto* browser = new QTextBrowser(gHelpWindow);
        browser->setObjectName(QStringLiteral("helpText"));
        layout->addWidget(browser);
        gHelpWindow->resize(420, 360);
    }
    auto* browser = gHelpWindow->findChild<QTextBrowser*>(QStringLiteral("helpText"));
    const QString html = HelpTopicHtml(context);
    browser->setHtml(html.isEmpty() ? QStringLiteral("<p>No help topic %1.</p>").arg(context)
                                    : html);
    gHelpWindow->show();
    gHelpWindow->raise();
}

int LastHelpContext() {
    return gLastContext;
}
