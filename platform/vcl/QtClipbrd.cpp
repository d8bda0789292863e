// The toolkit side of the clipboard.
#include <QClipboard>
#include <QGuiApplication>

#include "platform/vcl/Clipbrd.h"

String QtClipboard_GetText() {
    if (QGuiApplication::instance() == nullptr) return String();
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtClipboard_SetText(const String& Text) {
    if (QGuiApplication::instance() == nullptr) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(Text));
}
