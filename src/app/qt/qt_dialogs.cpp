#include "app/qt/qt_dialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "app/qt/qt_text.h"

namespace quorvik::qt {
namespace {

QString displayText(const std::string& text) {
    QString shown = fromUtf8(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
        case platform::kCritical:
            return QMessageBox::Critical;
        case platform::kExclamation:
            return QMessageBox::Warning;
        case platform::kInformation:
            return QMessageBox::Information;
        case platform::kQuestion:
            return QMessageBox::Question;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

QWidget* QtDialogs::parentWidget() const {
    return window_ && window_->isVisible() ? window_.data() : nullptr;
}

int QtDialogs::messageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(iconFor(style), fromUtf8(title), displayText(text), QMessageBox::NoButton,
                    parentWidget());
    if ((style & 0x0F) == platform::kYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? platform::kYes : platform::kNo;
    }
    if ((style & 0x0F) == platform::kYesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        return answer == QMessageBox::Yes  ? platform::kYes
               : answer == QMessageBox::No ? platform::kNo
                                           : platform::kCancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return platform::kOk;
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title) {
    bool accepted = false;
    const QString text = QInputDialog::getText(parentWidget(), fromUtf8(title), displayText(prompt),
                                               QLineEdit::Normal, QString(), &accepted);
    return accepted ? toUtf8(text) : std::string();
}

void QtDialogs::setClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(fromUtf8(text));
}

void QtDialogs::closeWindow() {
    if (window_) window_->close();
}

}  // namespace quorvik::qt
