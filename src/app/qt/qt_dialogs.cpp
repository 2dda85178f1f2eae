#include "app/qt/qt_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

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

// A message box button that looks as Qt's standard one does, without the icon
// theme search that Qt's standard buttons make. Where the desktop names no icon
// theme of its own, Qt ends that search in its built-in pictures anyway
// ("hicolor", the shared folder of application icons, has no button icons), so
// the button takes those directly.
QPushButton* addButton(QMessageBox& box, QMessageBox::StandardButton which) {
    struct Kind {
        QMessageBox::StandardButton button;
        const char* text;  // Qt's own wording, through Qt's own translations
        QMessageBox::ButtonRole role;
        QStyle::StandardPixmap icon;
        const char* picture;
    };
    static constexpr Kind kKinds[] = {
        {QMessageBox::Yes, QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"), QMessageBox::YesRole,
         QStyle::SP_DialogYesButton, "yes"},
        {QMessageBox::No, QT_TRANSLATE_NOOP("QPlatformTheme", "&No"), QMessageBox::NoRole,
         QStyle::SP_DialogNoButton, "no"},
        {QMessageBox::Ok, QT_TRANSLATE_NOOP("QPlatformTheme", "OK"), QMessageBox::AcceptRole,
         QStyle::SP_DialogOkButton, "ok"},
        {QMessageBox::Cancel, QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
         QMessageBox::RejectRole, QStyle::SP_DialogCancelButton, "cancel"},
    };
    const Kind& kind = *std::find_if(std::begin(kKinds), std::end(kKinds),
                                     [which](const Kind& k) { return k.button == which; });
    QPushButton* button =
        box.addButton(QCoreApplication::translate("QPlatformTheme", kind.text), kind.role);
    QStyle* style = box.style();
    if (!style->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons, nullptr, &box)) {
        return button;
    }
    const QString builtIn =
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/standardbutton-%1-%2.png")
            .arg(QLatin1String(kind.picture));
    if (QIcon::themeName() == QLatin1String("hicolor") && QFile::exists(builtIn.arg(16))) {
        QIcon icon;
        for (const int size : {16, 32, 128}) icon.addFile(builtIn.arg(size), QSize(size, size));
        button->setIcon(icon);
    } else {
        button->setIcon(style->standardIcon(kind.icon, nullptr, &box));
    }
    return button;
}

}  // namespace

QWidget* QtDialogs::parentWidget() const {
    return window_ && window_->isVisible() ? window_.data() : nullptr;
}

int QtDialogs::messageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(iconFor(style), fromUtf8(title), displayText(text), QMessageBox::NoButton,
                    parentWidget());
    if ((style & 0x0F) == platform::kYesNo) {
        QPushButton* yes = addButton(box, QMessageBox::Yes);
        QPushButton* no = addButton(box, QMessageBox::No);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? platform::kYes : platform::kNo;
    }
    if ((style & 0x0F) == platform::kYesNoCancel) {
        QPushButton* yes = addButton(box, QMessageBox::Yes);
        QPushButton* no = addButton(box, QMessageBox::No);
        QPushButton* cancel = addButton(box, QMessageBox::Cancel);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == yes  ? platform::kYes
               : box.clickedButton() == no ? platform::kNo
                                           : platform::kCancel;
    }
    addButton(box, QMessageBox::Ok);
    box.exec();
    return platform::kOk;
}

int QtDialogs::chooseItem(const std::string& text, const std::vector<std::string>& items,
                          const std::string& button, const std::string& title) {
    QDialog dialog(parentWidget());
    // Like a message box: the window waits, the rest of the desktop does not.
    if (dialog.parentWidget() != nullptr) dialog.setWindowModality(Qt::WindowModal);
    dialog.setWindowTitle(fromUtf8(title));

    auto* label = new QLabel(displayText(text), &dialog);
    label->setObjectName(QStringLiteral("chooseItemText"));
    label->setWordWrap(true);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("chooseItemList"));
    for (const std::string& item : items) list->addItem(fromUtf8(item));
    list->setCurrentRow(0);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog,
                     [&dialog, list](QListWidgetItem* item) {
                         list->setCurrentItem(item);
                         dialog.accept();
                     });

    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->setObjectName(QStringLiteral("chooseItemButtons"));
    QPushButton* take = buttons->addButton(fromUtf8(button), QDialogButtonBox::AcceptRole);
    // Return takes the highlighted item, wherever the focus is.
    take->setDefault(true);
    buttons->addButton(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                       QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    // Wide enough for a path to a settings folder; longer items scroll sideways.
    dialog.resize(560, 320);
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted) return -1;
    return list->currentRow();
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
