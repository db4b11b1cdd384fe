// Message boxes and file dialogs through the responder; the desktop responder shows Qt's
// dialogs (a message form with the kind's caption, a non-native file dialog).
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/UiResponder.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

QString Q(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
String S(const QString& s) { return String(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())); }

// Result of a box closed without a button: Cancel when there is one, else No, else OK.
int DismissResult(TMsgDlgButtons b)
{
    if (b.Contains(mbCancel)) return mrCancel;
    if (b.Contains(mbNo)) return mrNo;
    if (b.Contains(mbOK)) return mrOk;
    return mrCancel;
}

class DesktopResponder final : public TUiResponder {
public:
    int MessageBox(const MessageBoxRequest& r) override
    {
        ui::EnsureApplication();
        QMessageBox box;
        box.setWindowTitle(Q(r.Caption));
        box.setText(Q(r.Text));
        switch (r.Kind) {
        case mtError: box.setIcon(QMessageBox::Critical); break;
        case mtWarning: box.setIcon(QMessageBox::Warning); break;
        case mtInformation: box.setIcon(QMessageBox::Information); break;
        case mtConfirmation: box.setIcon(QMessageBox::Question); break;
        default: break;
        }
        struct B {
            TMsgDlgBtn b;
            const char* text;
            int result;
        };
        static const B all[] = {{mbYes, "&Yes", mrYes}, {mbNo, "&No", mrNo}, {mbOK, "OK", mrOk}, {mbCancel, "Cancel", mrCancel},
                                {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry}, {mbIgnore, "&Ignore", mrIgnore},
                                {mbAll, "&All", mrAll}, {mbNoToAll, "N&o to All", mrNoToAll}, {mbYesToAll, "Yes to &All", mrYesToAll},
                                {mbClose, "&Close", mrClose}};
        std::vector<std::pair<QAbstractButton*, int>> buttons;
        for (const B& b : all) {
            if (!r.Buttons.Contains(b.b)) continue;
            QPushButton* pb = box.addButton(QString::fromUtf8(b.text), QMessageBox::ActionRole);
            buttons.emplace_back(pb, b.result);
        }
        if (buttons.empty()) buttons.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), mrOk);
        box.exec();
        for (auto& [btn, res] : buttons)
            if (box.clickedButton() == btn) return res;
        return DismissResult(r.Buttons);
    }

    FileDialogAnswer FileDialog(const FileDialogRequest& r) override
    {
        ui::EnsureApplication();
        QFileDialog dlg(nullptr, Q(r.Title), Q(r.InitialDir));
        dlg.setOption(QFileDialog::DontUseNativeDialog, true);
        dlg.setAcceptMode(r.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(r.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!r.Save && !(r.Options & ofFileMustExist)) dlg.setFileMode(QFileDialog::AnyFile);
        if (!r.DefaultExt.empty()) dlg.setDefaultSuffix(Q(r.DefaultExt));
        // "Text (*.txt)|*.txt|All (*.*)|*.*" -> Qt name filters
        QStringList filters;
        const QStringList parts = Q(r.Filter).split(QLatin1Char('|'));
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            QString pattern = parts[i + 1];
            pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
            filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
        }
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            const int idx = std::clamp(r.FilterIndex - 1, 0, static_cast<int>(filters.size()) - 1);
            dlg.selectNameFilter(filters[idx]);
        }
        if (!r.FileName.empty()) dlg.selectFile(Q(r.FileName));
        FileDialogAnswer a;
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return a;
        a.Accepted = true;
        a.FileName = S(dlg.selectedFiles().first());
        a.FilterIndex = static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1;
        if (a.FilterIndex <= 0) a.FilterIndex = r.FilterIndex;
        return a;
    }

    int PopupMenu(const PopupMenuRequest& r) override
    {
        ui::EnsureApplication();
        QMenu menu;
        std::vector<QAction*> actions;
        for (size_t i = 0; i < r.Items.size(); ++i) {
            if (r.Items[i] == u"-") {
                actions.push_back(menu.addSeparator());
                continue;
            }
            QString t = Q(r.Items[i]);
            QAction* a = menu.addAction(t);
            a->setEnabled(i < r.Enabled.size() ? static_cast<bool>(r.Enabled[i]) : true);
            actions.push_back(a);
        }
        QAction* chosen = menu.exec(QPoint(r.ScreenPos.X, r.ScreenPos.Y));
        for (size_t i = 0; i < actions.size(); ++i)
            if (actions[i] == chosen) return static_cast<int>(i);
        return -1;
    }

    bool RunModal(TCustomForm&) override { return false; }
};

DesktopResponder g_desktop;
TUiResponder* g_responder = nullptr;

} // namespace

void SetUiResponder(TUiResponder* Responder) { g_responder = Responder; }

TUiResponder& UiResponder() { return g_responder ? *g_responder : g_desktop; }

String MsgDlgCaption(TMsgDlgType DlgType)
{
    switch (DlgType) {
    case mtWarning: return u"Warning";
    case mtError: return u"Error";
    case mtInformation: return u"Information";
    case mtConfirmation: return u"Confirm";
    default: return Application ? Application->Title() : String();
    }
}

int MessageDlgCaption(const String& Caption, const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
    MessageBoxRequest r;
    r.Kind = DlgType;
    r.Caption = Caption.empty() ? MsgDlgCaption(DlgType) : Caption;
    r.Text = Msg;
    r.Buttons = Buttons.Empty() ? TMsgDlgButtons{mbOK} : Buttons;
    // A box takes the mouse: a capture held by the control that opened it ends here.
    if (GetCaptureControl()) SetCaptureControl(nullptr);
    return UiResponder().MessageBox(r);
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int)
{
    return MessageDlgCaption(String(), Msg, DlgType, Buttons);
}

void ShowMessage(const String& Msg) { MessageDlgCaption(Application ? Application->Title() : String(), Msg, mtCustom, {mbOK}); }

int MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    TMsgDlgType kind = mtCustom;
    switch (Flags & 0xF0) {
    case MB_ICONERROR: kind = mtError; break;
    case MB_ICONQUESTION: kind = mtConfirmation; break;
    case MB_ICONWARNING: kind = mtWarning; break;
    case MB_ICONINFORMATION: kind = mtInformation; break;
    default: break;
    }
    TMsgDlgButtons b{mbOK};
    switch (Flags & 0x0F) {
    case MB_OKCANCEL: b = mbOKCancel; break;
    case MB_YESNOCANCEL: b = mbYesNoCancel; break;
    case MB_YESNO: b = mbYesNo; break;
    default: break;
    }
    // Modal results and message-box answers share their numbers.
    return MessageDlgCaption(Caption, Text, kind, b);
}

// ---- file dialogs --------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

namespace {

// "eds", ".eds" and "*.eds" all mean the extension "eds"; the dialog appends it as ".eds".
String NormalExt(const String& ext)
{
    size_t i = 0;
    while (i < ext.size() && (ext[i] == u'*' || ext[i] == u'.')) ++i;
    return ext.substr(i);
}

} // namespace

bool TOpenDialog::Execute()
{
    FileDialogRequest r;
    r.Save = save_;
    r.Title = title_;
    r.Filter = filter_;
    r.FilterIndex = filterIndex_;
    r.InitialDir = initialDir_;
    r.DefaultExt = NormalExt(defaultExt_);
    r.FileName = fileName_;
    r.Options = options_;
    if (GetCaptureControl()) SetCaptureControl(nullptr);
    FileDialogAnswer a = UiResponder().FileDialog(r);
    if (!a.Accepted) return false;
    String name = a.FileName;
    if (const String ext = NormalExt(defaultExt_); !ext.empty()) {
        // A chosen name without an extension gets the default one.
        const size_t slash = name.find_last_of(u'/');
        const size_t dot = name.find_last_of(u'.');
        if (dot == String::npos || (slash != String::npos && dot < slash)) name += u"." + ext;
    }
    fileName_ = name;
    if (a.FilterIndex > 0) filterIndex_ = a.FilterIndex;
    return true;
}

} // namespace plat
