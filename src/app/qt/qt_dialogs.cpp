#include "app/qt/qt_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
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
        box.setDefaultButton((style & platform::kDefaultButton2) != 0 ? no : yes);
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
    // Each button takes Alt and its first letter.
    QPushButton* take =
        buttons->addButton(QStringLiteral("&") + fromUtf8(button), QDialogButtonBox::AcceptRole);
    // Return takes the highlighted item, wherever the focus is.
    take->setDefault(true);
    buttons->addButton(QObject::tr("&Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    // Wide enough for a path to a settings folder, and for the longest item as
    // far as the screen allows; longer ones scroll sideways.
    const int needed = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                       list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       layout->contentsMargins().left() + layout->contentsMargins().right();
    const QScreen* screen = dialog.screen();
    const int room = screen != nullptr ? screen->availableGeometry().width() : needed;
    dialog.resize(std::max(560, std::min(needed, room)), 320);
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

std::string QtDialogs::folderInputBox(const std::string& prompt, const std::string& title) {
    QDialog dialog(parentWidget());
    dialog.setWindowTitle(fromUtf8(title));
    auto* label = new QLabel(displayText(prompt), &dialog);
    label->setWordWrap(true);
    auto* field = new QLineEdit(&dialog);
    field->setObjectName(QStringLiteral("folderField"));
    label->setBuddy(field);
    auto* browse = new QPushButton(QObject::tr("&Browse..."), &dialog);
    browse->setObjectName(QStringLiteral("folderBrowse"));
    browse->setAutoDefault(false);  // Return takes the typed path, not the picker
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, field, title] {
        const QString start = QDir(field->text()).exists() ? field->text() : QDir::homePath();
        const QString chosen = QFileDialog::getExistingDirectory(&dialog, fromUtf8(title), start);
        if (!chosen.isEmpty()) field->setText(QDir::toNativeSeparators(chosen));
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(buttons);
    dialog.resize(480, dialog.sizeHint().height());
    field->setFocus();
    return dialog.exec() == QDialog::Accepted ? toUtf8(field->text()) : std::string();
}

namespace {

QString filterOf(const platform::FileKind& kind) {
    return fromUtf8(kind.description) + QStringLiteral(" (*.") + fromUtf8(kind.extension) +
           QStringLiteral(")");
}

}  // namespace

std::string QtDialogs::saveFileName(const std::string& title, const std::string& name,
                                    const platform::FileKind& kind) {
    // Replacing a file that is there is asked by the caller, alike in both windows.
    const QString chosen = QFileDialog::getSaveFileName(
        parentWidget(), fromUtf8(title), QDir::home().filePath(fromUtf8(name)), filterOf(kind),
        nullptr, QFileDialog::DontConfirmOverwrite);
    return toUtf8(chosen);
}

std::string QtDialogs::openFileName(const std::string& title, const platform::FileKind& kind) {
    return toUtf8(QFileDialog::getOpenFileName(parentWidget(), fromUtf8(title), QDir::homePath(),
                                               filterOf(kind)));
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
