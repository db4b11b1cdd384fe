// Edits host a frameless toolkit editor in their client area. Keys reach the editor only
// through the framework's pipeline: the editor's own key events are turned back into the
// pipeline, and what survives KeyDown/KeyPress arrives here in DefaultHandler and is
// forwarded, possibly changed, to the editor.
#include <algorithm>

#include "plat/Clipbrd.h"
#include "plat/ComCtrls.h"
#include "plat/MaskEdit.h"
#include "plat/StdCtrls.h"
#include "plat/SystemInput.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QValidator>

#include "gfx/GfxNative.h"
#include "StdCommon.h"
#include "StdModels.h"
#include "ui/UiNative.h"

namespace plat {

using namespace std_detail;

namespace {

QString ToQ(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
String FromQ(const QString& s) { return String(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())); }

Qt::KeyboardModifiers CurrentModifiers()
{
    Qt::KeyboardModifiers m;
    if (GetKeyState(static_cast<int>(VK_SHIFT)) < 0)
        m |= Qt::ShiftModifier;
    if (GetKeyState(static_cast<int>(VK_CONTROL)) < 0)
        m |= Qt::ControlModifier;
    if (GetKeyState(static_cast<int>(VK_MENU)) < 0)
        m |= Qt::AltModifier;
    return m;
}

// Keys whose effect is not a character: the editor gets them at key-down.
bool IsEditingKey(WPARAM vk, Qt::KeyboardModifiers mods)
{
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_DELETE: case VK_INSERT:
        return true;
    default:
        break;
    }
    // Clipboard and undo shortcuts.
    return (mods & Qt::ControlModifier) && vk >= 'A' && vk <= 'Z';
}

// The surface drawn over an editor: transparent where nothing was drawn, deaf to the mouse.
class EditOverlay : public QWidget {
public:
    explicit EditOverlay(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents, true);
        setAttribute(Qt::WA_NoSystemBackground, true);
        setFocusPolicy(Qt::NoFocus);
    }
    QImage image;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (image.isNull()) return;
        QPainter p(this);
        p.drawImage(0, 0, image);
    }
};

// The application's style without a text caret.
class NoCaretStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TextCursorWidth) return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// The clipboard message a key asks for (Ctrl+X/C/V, Shift+Delete, Ctrl+Insert,
// Shift+Insert); 0 for other keys.
UINT ClipboardMessageOf(WPARAM vk, Qt::KeyboardModifiers mods)
{
    const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier;
    if (mods & Qt::AltModifier) return 0;
    if ((ctrl && !shift && vk == 'X') || (shift && !ctrl && vk == VK_DELETE)) return WM_CUT;
    if ((ctrl && !shift && vk == 'C') || (ctrl && !shift && vk == VK_INSERT)) return WM_COPY;
    if ((ctrl && !shift && vk == 'V') || (shift && !ctrl && vk == VK_INSERT)) return WM_PASTE;
    return 0;
}

} // namespace

struct HostedEdit : QObject {
    TCustomEdit* owner = nullptr;
    // The formatting rectangle (EM_SETRECT) in client coordinates; empty: the client area.
    TRect formatRect{};
    bool hasFormatRect = false;
    QLineEdit* line = nullptr;
    QPlainTextEdit* plain = nullptr;
    bool forwarding = false;
    bool updating = false;
    // What ApplyFont last gave the editor: a parent's font or colour reaching the edit
    // unchanged costs no new font and palette resolution in the editor.
    bool styled = false;
    QFont font;
    TColor baseColor = clNone;
    TColor textColor = clNone;
    // Drawing over the editor (BeginOverlay) and the hidden caret.
    EditOverlay* overlay = nullptr;
    std::unique_ptr<TCanvas> overlayCanvas;
    NoCaretStyle* noCaret = nullptr;

    QWidget* editor() const { return line ? static_cast<QWidget*>(line) : static_cast<QWidget*>(plain); }
    QWidget* keyTarget() const { return line ? static_cast<QWidget*>(line) : plain->viewport(); }

    QString text() const { return line ? line->text() : plain->toPlainText(); }

    void forward(QKeyEvent& e)
    {
        forwarding = true;
        ui::ForwardKey(editor(), &e);
        forwarding = false;
    }

    // The left button on the editor also reaches the control's mouse path (MouseDown,
    // MouseUp, Click) in client coordinates; the editor then acts on it as well.
    void LeftButton(QObject* watched, QEvent* event)
    {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton || !owner->Enabled()) return;
        const QPoint p = static_cast<QWidget*>(watched)->mapTo(editor(), me->position().toPoint()) + editor()->pos();
        const TRect client = owner->ClientAreaInWindow();
        const UINT msg = event->type() == QEvent::MouseButtonPress     ? WM_LBUTTONDOWN
                         : event->type() == QEvent::MouseButtonDblClick ? WM_LBUTTONDBLCLK
                                                                        : WM_LBUTTONUP;
        owner->Perform(msg, event->type() == QEvent::MouseButtonRelease ? 0 : MK_LBUTTON,
                       MakeLParam(p.x() - client.Left, p.y() - client.Top));
    }

    // A move over the editor goes the way of a move over the control's own window: the
    // control hears the mouse enter and leave and its MouseMove (a drag that began on the
    // editor included), as it would without an editor inside.
    void Moved(QObject* watched, QEvent* event)
    {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = static_cast<QWidget*>(watched)->mapTo(editor(), me->position().toPoint()) + editor()->pos();
        TShiftState shift = 0;
        if (me->buttons() & Qt::LeftButton) shift |= ssLeft;
        if (me->buttons() & Qt::RightButton) shift |= ssRight;
        if (me->buttons() & Qt::MiddleButton) shift |= ssMiddle;
        if (me->modifiers() & Qt::ShiftModifier) shift |= ssShift;
        if (me->modifiers() & Qt::ControlModifier) shift |= ssCtrl;
        if (me->modifiers() & Qt::AltModifier) shift |= ssAlt;
        ui::MouseEvent(ui::N(owner), WM_MOUSEMOVE, p, shift, 0);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (forwarding)
                return false;
            ui::HandleKeyEvent(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
            return true;
        case QEvent::ShortcutOverride:
            // Shortcuts are the pipeline's business, not the editor's.
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (owner->Enabled() && !owner->Focused() && owner->CanFocus())
                owner->SetFocus();
            LeftButton(watched, event);
            return false;
        case QEvent::MouseButtonRelease:
            LeftButton(watched, event);
            return false;
        case QEvent::MouseMove:
            Moved(watched, event);
            return false;
        default:
            return false;
        }
    }
};

// The length limit stops what the user types or pastes, never what the program sets: a
// stored value longer than the field's limit is shown and saved back whole, not cut.
// Shortening an over-long text is always allowed.
class LengthLimit : public QValidator {
public:
    explicit LengthLimit(QLineEdit* line) : QValidator(line), length(static_cast<int>(line->text().size()))
    {
        // The editor already holds the proposed text while it validates, so the length
        // to compare with is the one of the last text it accepted.
        QObject::connect(line, &QLineEdit::textChanged, this,
                         [this](const QString& text) { length = static_cast<int>(text.size()); });
    }
    int limit = 0;
    int length = 0;
    State validate(QString& input, int&) const override
    {
        if (limit <= 0 || input.size() <= limit || input.size() <= length)
            return Acceptable;
        return Invalid;
    }
};

// ---- TCustomEdit -----------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner, EditKind::SingleLine) {}

TCustomEdit::TCustomEdit(TComponent* AOwner, EditKind Kind) : TWinControl(AOwner), kind_(Kind)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
    host_ = std::make_unique<HostedEdit>();
    host_->owner = this;
    QWidget* parent = Native() ? Native()->widget : nullptr;
    if (Kind == EditKind::SingleLine) {
        host_->line = new QLineEdit(parent);
        host_->line->setFrame(false);
        host_->line->setTextMargins(1, 0, 1, 0);
        QObject::connect(host_->line, &QLineEdit::textChanged, host_.get(), [this](const QString&) { EditorChanged(); });
    } else {
        host_->plain = new QPlainTextEdit(parent);
        host_->plain->setFrameStyle(QFrame::NoFrame);
        host_->plain->document()->setDocumentMargin(1);
        host_->plain->setTabChangesFocus(true);
        host_->plain->viewport()->installEventFilter(host_.get());
        QObject::connect(host_->plain, &QPlainTextEdit::textChanged, host_.get(), [this]() { EditorChanged(); });
    }
    host_->editor()->setFocusPolicy(Qt::ClickFocus);
    host_->editor()->setAttribute(Qt::WA_MacShowFocusRect, false);
    host_->editor()->installEventFilter(host_.get());
    host_->editor()->show();
    ApplyFont();
    const int h = FontPixels(Font()) + 10;
    SetBounds(0, 0, 121, Kind == EditKind::SingleLine ? h : 89);
}

TCustomEdit::~TCustomEdit()
{
    if (host_) {
        QWidget* w = host_->editor();
        w->removeEventFilter(host_.get());
        QObject::disconnect(w, nullptr, host_.get(), nullptr);
        // The window's widget may already be gone with its children; only delete what is left.
        if (Native() && Native()->widget)
            delete w;
    }
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    if (BorderStyle() == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    TWinControl::SetBorderStyle(Value);
    BoundsChanged();
}

void TCustomEdit::BoundsChanged()
{
    TWinControl::BoundsChanged();
    if (!host_)
        return;
    const TRect r = ClientAreaInWindow();
    host_->editor()->setGeometry(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
}

void TCustomEdit::ApplyFont()
{
    if (!host_)
        return;
    QWidget* w = host_->editor();
    QFont font = gfx::ToQFont(*Font());
    if (!host_->styled || host_->font != font) {
        host_->font = font;
        w->setFont(font);
    }
    const TColor baseColor = Color();
    const TColor textColor = Enabled() ? Font()->Color() : clGrayText;
    if (host_->styled && host_->baseColor == baseColor && host_->textColor == textColor)
        return;
    host_->styled = true;
    host_->baseColor = baseColor;
    host_->textColor = textColor;
    // Edits of one look get the same palette: the last one built is handed out again (a shared
    // copy) while the editor's own palette and the colours are those it was built from.
    struct LastPalette {
        bool valid = false;
        QPalette from, to;
        QColor base, text, highlight, highlightText;
    };
    static thread_local LastPalette& last = *new LastPalette;  // never destroyed (outlives the application)
    const QPalette current = w->palette();
    const QColor base = gfx::ToQColor(baseColor);
    const QColor text = gfx::ToQColor(textColor);
    const QColor highlight = gfx::ToQColor(clHighlight);
    const QColor highlightText = gfx::ToQColor(clHighlightText);
    if (!last.valid || last.base != base || last.text != text || last.highlight != highlight ||
        last.highlightText != highlightText || !(last.from == current)) {
        QPalette pal = current;
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(g, QPalette::Base, base);
            pal.setColor(g, QPalette::Window, base);
            pal.setColor(g, QPalette::Text, text);
            pal.setColor(g, QPalette::Highlight, highlight);
            pal.setColor(g, QPalette::HighlightedText, highlightText);
        }
        last.valid = true;
        last.from = current;
        last.to = pal;
        last.base = base;
        last.text = text;
        last.highlight = highlight;
        last.highlightText = highlightText;
    }
    const QPalette& pal = last.to;
    w->setPalette(pal);
    w->setAutoFillBackground(true);
    if (host_->plain)
        host_->plain->viewport()->setPalette(pal);
}

void TCustomEdit::HideCaret()
{
    QWidget* e = host_->editor();
    if (host_->noCaret) return;
    host_->noCaret = new NoCaretStyle();
    host_->noCaret->setParent(e);
    e->setStyle(host_->noCaret);
}

void TCustomEdit::ShowCaret()
{
    if (!host_->noCaret) return;
    QWidget* e = host_->editor();
    e->setStyle(nullptr);
    delete host_->noCaret;
    host_->noCaret = nullptr;
}

int TCustomEdit::CharFromPos(TPoint P) const
{
    if (host_->line) {
        const QPoint q = host_->line->mapFrom(Native()->widget, QPoint(P.X, P.Y));
        return host_->line->cursorPositionAt(q);
    }
    const QPoint q = host_->plain->viewport()->mapFrom(Native()->widget, QPoint(P.X, P.Y));
    return host_->plain->cursorForPosition(q).position();
}

TCanvas* TCustomEdit::BeginOverlay()
{
    QWidget* parent = Native() ? Native()->widget : nullptr;
    if (!parent) return nullptr;
    if (!host_->overlay) {
        host_->overlay = new EditOverlay(parent);
        host_->overlayCanvas = std::make_unique<TCanvas>();
    }
    EditOverlay* o = host_->overlay;
    const QSize size(std::max(1, Width()), std::max(1, Height()));
    if (o->image.size() != size) {
        o->image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        o->image.fill(Qt::transparent);
    }
    o->setGeometry(0, 0, size.width(), size.height());
    o->raise();
    o->show();
    gfx::BindCanvas(host_->overlayCanvas.get(), &o->image, QPoint(0, 0), nullptr);
    return host_->overlayCanvas.get();
}

void TCustomEdit::EndOverlay()
{
    if (!host_->overlay) return;
    gfx::UnbindCanvas(host_->overlayCanvas.get());
    host_->overlay->update();
}

void TCustomEdit::PaintWindow(TCanvas* Canvas)
{
    if (host_->overlay && !host_->overlay->image.isNull()) {
        host_->overlay->image.fill(Qt::transparent);
        host_->overlay->update();
    }
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(ClientRect());
}

String TCustomEdit::GetText() const
{
    if (!host_)
        return TWinControl::GetText();
    return ExternalText(FromQ(host_->text()));
}

void TCustomEdit::SetTextBuf(const String& Value)
{
    // Compared in the editor's form, so "a\nb" given to a memo holding "a\r\nb" is no change.
    const QString q = host_ ? ToQ(EditorText(Value)) : QString();
    if (host_ && q != host_->text()) {
        if (host_->line) {
            if (auto* limit = dynamic_cast<LengthLimit*>(const_cast<QValidator*>(host_->line->validator())))
                limit->length = static_cast<int>(q.size());  // the program's text is never refused
            host_->line->setText(q);
        } else {
            host_->plain->setPlainText(q);
        }
    }
    TWinControl::SetTextBuf(Value);
}

void TCustomEdit::EditorChanged()
{
    if (host_->updating)
        return;
    if (charCase_ != ecNormal && host_->line) {
        // Pasted text follows the case rule too.
        const QString t = host_->line->text();
        const QString c = charCase_ == ecUpperCase ? t.toUpper() : t.toLower();
        if (c != t) {
            host_->updating = true;
            const int pos = host_->line->cursorPosition();
            host_->line->setText(c);
            host_->line->setCursorPosition(pos);
            host_->updating = false;
        }
    }
    NotifyParent(this, EN_CHANGE);
    Change();
}

void TCustomEdit::Change()
{
    Perform(CM_CHANGED, 0, 0);
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::SetMaxLength(int Value)
{
    maxLength_ = Value;
    if (host_->line) {
        auto* limit = dynamic_cast<LengthLimit*>(const_cast<QValidator*>(host_->line->validator()));
        if (!limit) {
            limit = new LengthLimit(host_->line);
            host_->line->setValidator(limit);
        }
        limit->limit = Value;
    }
}

void TCustomEdit::SetReadOnly(bool Value)
{
    readOnly_ = Value;
    if (host_->line)
        host_->line->setReadOnly(Value);
    else
        host_->plain->setReadOnly(Value);
}

void TCustomEdit::SetPasswordChar(char16_t Value)
{
    passwordChar_ = Value;
    if (!host_->line)
        return;
    if (Value == 0) {
        host_->line->setEchoMode(QLineEdit::Normal);
        host_->line->setStyleSheet(QString());
    } else {
        host_->line->setEchoMode(QLineEdit::Password);
        host_->line->setStyleSheet(QStringLiteral("lineedit-password-character: %1").arg(static_cast<int>(Value)));
    }
}

void TCustomEdit::SetCharCase(TEditCharCase Value)
{
    charCase_ = Value;
    if (Value != ecNormal)
        EditorChanged();
}

bool TCustomEdit::Modified() const
{
    return host_->line ? host_->line->isModified() : host_->plain->document()->isModified();
}

void TCustomEdit::SetModified(bool Value)
{
    if (host_->line)
        host_->line->setModified(Value);
    else
        host_->plain->document()->setModified(Value);
}

int TCustomEdit::SelStart() const
{
    if (host_->line)
        return host_->line->hasSelectedText() ? host_->line->selectionStart() : host_->line->cursorPosition();
    const QTextCursor c = host_->plain->textCursor();
    return ExternalText(FromQ(host_->plain->toPlainText().left(c.selectionStart()))).size();
}

void TCustomEdit::SetSelStart(int Value)
{
    if (host_->line) {
        host_->line->setCursorPosition(Value);
        return;
    }
    // Positions count CR LF as two units; the editor counts one.
    const String ext = GetText();
    const int clamped = std::clamp(Value, 0, static_cast<int>(ext.size()));
    const int inner = static_cast<int>(stdmodel::ToLF(StringView(ext).substr(0, static_cast<size_t>(clamped))).size());
    QTextCursor c = host_->plain->textCursor();
    c.setPosition(inner);
    host_->plain->setTextCursor(c);
}

int TCustomEdit::SelLength() const
{
    if (host_->line)
        return static_cast<int>(host_->line->selectedText().size());
    return static_cast<int>(stdmodel::ToCRLF(FromQ(host_->plain->textCursor().selectedText().replace(QChar(0x2029), QChar('\n')))).size());
}

void TCustomEdit::SetSelLength(int Value)
{
    const int start = SelStart();
    if (host_->line) {
        host_->line->setSelection(start, Value);
        return;
    }
    const String ext = GetText();
    const int endExt = std::clamp(start + Value, 0, static_cast<int>(ext.size()));
    const int a = static_cast<int>(stdmodel::ToLF(StringView(ext).substr(0, static_cast<size_t>(start))).size());
    const int b = static_cast<int>(stdmodel::ToLF(StringView(ext).substr(0, static_cast<size_t>(endExt))).size());
    QTextCursor c = host_->plain->textCursor();
    c.setPosition(a);
    c.setPosition(b, QTextCursor::KeepAnchor);
    host_->plain->setTextCursor(c);
}

String TCustomEdit::SelText() const
{
    if (host_->line)
        return FromQ(host_->line->selectedText());
    return stdmodel::ToCRLF(FromQ(host_->plain->textCursor().selectedText().replace(QChar(0x2029), QChar('\n'))));
}

void TCustomEdit::SetSelText(const String& Value)
{
    if (host_->line)
        host_->line->insert(ToQ(Value));
    else
        host_->plain->insertPlainText(ToQ(stdmodel::ToLF(Value)));
}

void TCustomEdit::SelectAll()
{
    if (host_->line)
        host_->line->selectAll();
    else
        host_->plain->selectAll();
}

void TCustomEdit::ClearSelection()
{
    SetSelText(String());
}

void TCustomEdit::CopyToClipboard()
{
    if (host_->line)
        host_->line->copy();
    else
        host_->plain->copy();
}

void TCustomEdit::CutToClipboard()
{
    if (host_->line)
        host_->line->cut();
    else
        host_->plain->cut();
}

void TCustomEdit::PasteFromClipboard()
{
    if (host_->line)
        host_->line->paste();
    else
        host_->plain->paste();
}

bool TCustomEdit::CanUndo() const
{
    return host_->line ? host_->line->isUndoAvailable() : host_->plain->document()->isUndoAvailable();
}

void TCustomEdit::Undo()
{
    if (host_->line)
        host_->line->undo();
    else
        host_->plain->undo();
}

void TCustomEdit::SetFocus()
{
    TWinControl::SetFocus();
}

bool TCustomEdit::Focused() const
{
    return TWinControl::Focused();
}

void TCustomEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
        TWinControl::WndProc(Message);
        ApplyFont();
        if (Message.Msg == CM_ENABLEDCHANGED)
            host_->editor()->setEnabled(Enabled());
        return;
    case WM_SETFOCUS:
        TWinControl::WndProc(Message);
        host_->editor()->setFocus(Qt::OtherFocusReason);
        if (autoSelect_ && host_->line)
            host_->line->selectAll();
        return;
    case WM_KILLFOCUS:
        TWinControl::WndProc(Message);
        if (host_->line)
            host_->line->deselect();
        host_->editor()->clearFocus();
        return;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        TWinControl::WndProc(Message);
        BoundsChanged();
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

void TCustomEdit::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        return;
    case WM_KEYDOWN: {
        const Qt::KeyboardModifiers mods = CurrentModifiers();
        // The clipboard keys go out as WM_CUT, WM_COPY and WM_PASTE, so that they pass WndProc
        // (where a control may refuse or replace them) before the editor acts.
        if (const UINT clip = ClipboardMessageOf(Message.WParam, mods)) {
            Perform(clip);
            return;
        }
        if (IsEditingKey(Message.WParam, mods)) {
            QKeyEvent e(QEvent::KeyPress, ui::QtKeyOf(static_cast<int>(Message.WParam)), mods);
            host_->forward(e);
        }
        return;
    }
    case WM_KEYUP:
        return;
    case WM_CHAR: {
        char16_t ch = static_cast<char16_t>(Message.WParam);
        if (ch == 8) {
            QKeyEvent e(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
            host_->forward(e);
        } else if (ch == 13 || ch == 10) {
            if (host_->plain) {
                QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
                host_->forward(e);
            }
        } else if (ch == 9) {
            if (host_->plain)
                host_->plain->insertPlainText(QStringLiteral("\t"));
        } else if (ch >= 32 && ch != 127 && !readOnly_) {
            if (charCase_ == ecUpperCase)
                ch = static_cast<char16_t>(QChar(ch).toUpper().unicode());
            else if (charCase_ == ecLowerCase)
                ch = static_cast<char16_t>(QChar(ch).toLower().unicode());
            QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(ch)));
            host_->forward(e);
        }
        return;
    }
    case WM_CUT: CutToClipboard(); return;
    case WM_COPY: CopyToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_CLEAR: ClearSelection(); return;
    case EM_SETSEL:
        SetSelStart(static_cast<int>(Message.WParam));
        SetSelLength(static_cast<int>(Message.LParam) - static_cast<int>(Message.WParam));
        return;
    case EM_GETSEL: {
        const int s = SelStart();
        Message.Result = MakeLParam(s, s + SelLength());
        return;
    }
    case EM_SETREADONLY: SetReadOnly(Message.WParam != 0); Message.Result = 1; return;
    case EM_LIMITTEXT: SetMaxLength(static_cast<int>(Message.WParam)); return;
    case EM_GETMODIFY: Message.Result = Modified() ? 1 : 0; return;
    case EM_SETMODIFY: SetModified(Message.WParam != 0); return;
    case EM_CANUNDO: Message.Result = CanUndo() ? 1 : 0; return;
    case EM_UNDO: Undo(); Message.Result = 1; return;
    case EM_SETRECT:
    case EM_SETRECTNP: {
        // The text keeps to the rectangle: the editor's margins are the client area outside it.
        const TRect c = ClientRect();
        TRect f = Message.LParam ? *reinterpret_cast<const TRect*>(Message.LParam) : c;
        host_->formatRect = f;
        host_->hasFormatRect = Message.LParam != 0;
        const QMargins m(std::max(0, f.Left), std::max(0, f.Top), std::max(0, c.Right - f.Right),
                         std::max(0, c.Bottom - f.Bottom));
        if (host_->line) host_->line->setTextMargins(m);
        // A multi-line editor lays its text out (and wraps it) inside the rectangle.
        if (host_->plain) host_->plain->setContentsMargins(m);
        if (Message.Msg == EM_SETRECT) Invalidate();
        return;
    }
    case EM_GETRECT:
        if (Message.LParam)
            *reinterpret_cast<TRect*>(Message.LParam) = host_->hasFormatRect ? host_->formatRect : ClientRect();
        return;
    case EM_CHARFROMPOS: {
        // The character nearest a client point (low word) and, in a memo, its line (high word).
        const TPoint p = PointFromLParam(Message.LParam);
        int lineIndex = 0;
        if (!host_->line && host_->plain)
            lineIndex = host_->plain->cursorForPosition(host_->plain->viewport()->mapFrom(Native()->widget, QPoint(p.X, p.Y)))
                            .blockNumber();
        Message.Result = MakeLParam(std::clamp(CharFromPos(p), 0, 0xFFFF), std::clamp(lineIndex, 0, 0xFFFF));
        return;
    }
    case EM_GETLINECOUNT:
        Message.Result = host_->line ? 1 : std::max(1, host_->plain->document()->blockCount());
        return;
    default:
        break;
    }
    TWinControl::DefaultHandler(Message);
}

// ---- TCustomMaskEdit ----------------------------------------------------------------------

void TCustomMaskEdit::SetEditMask(const String& Value)
{
    if (Value == editMask_)
        return;
    const String text = GetText();
    editMask_ = Value;
    mask_ = Host()->line ? TEditMask(Value) : TEditMask();
    if (QLineEdit* line = Host()->line) {
        // Under a mask every change goes through the key path: no drops, no menu.
        line->setDragEnabled(false);
        line->setAcceptDrops(!IsMasked());
        line->setContextMenuPolicy(IsMasked() ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    }
    SetTextBuf(text);
}

String TCustomMaskEdit::EditText() const
{
    return TCustomEdit::GetText();
}

String TCustomMaskEdit::GetText() const
{
    return IsMasked() ? mask_.ToText(EditText()) : TCustomEdit::GetText();
}

void TCustomMaskEdit::SetTextBuf(const String& Value)
{
    TCustomEdit::SetTextBuf(IsMasked() ? mask_.ToEditText(Value) : Value);
}

void TCustomMaskEdit::Change()
{
    if (IsMasked() && !conforming_) {
        // Whatever reached the editor past the key path is put back into the mask's shape;
        // the conformed text then reports the change.
        const String shown = EditText();
        const String conformed = mask_.Conform(shown);
        if (conformed != shown) {
            conforming_ = true;
            QLineEdit* line = Host()->line;
            const int pos = line->cursorPosition();
            line->setText(ToQ(conformed));
            line->setCursorPosition(std::min(pos, mask_.Length()));
            conforming_ = false;
            return;
        }
    }
    TCustomEdit::Change();
}

void TCustomMaskEdit::ApplyMaskEdit(const TEditMask::TEdit& Result)
{
    if (!Result.Accepted) {
        MessageBeep(0);
        return;
    }
    QLineEdit* line = Host()->line;
    const QString q = ToQ(Result.Text);
    if (auto* limit = dynamic_cast<LengthLimit*>(const_cast<QValidator*>(line->validator())))
        limit->length = static_cast<int>(q.size());  // the mask's length is never refused
    if (q != line->text()) {
        line->setText(q);
        line->setModified(true);
    }
    line->setCursorPosition(Result.Caret);
}

void TCustomMaskEdit::SetSelText(const String& Value)
{
    if (!IsMasked()) {
        TCustomEdit::SetSelText(Value);
        return;
    }
    const int start = SelStart(), length = SelLength();
    ApplyMaskEdit(Value.empty() ? mask_.Delete(EditText(), start, length) : mask_.Paste(EditText(), start, length, Value));
}

void TCustomMaskEdit::CutToClipboard()
{
    if (!IsMasked()) {
        TCustomEdit::CutToClipboard();
        return;
    }
    if (SelLength() > 0 && !ReadOnly()) {
        CopyToClipboard();
        ApplyMaskEdit(mask_.Delete(EditText(), SelStart(), SelLength()));
    }
}

void TCustomMaskEdit::PasteFromClipboard()
{
    if (!IsMasked()) {
        TCustomEdit::PasteFromClipboard();
        return;
    }
    if (!ReadOnly())
        ApplyMaskEdit(mask_.Paste(EditText(), SelStart(), SelLength(), Clipboard().AsText()));
}

void TCustomMaskEdit::DefaultHandler(TMessage& Message)
{
    if (!IsMasked()) {
        TCustomEdit::DefaultHandler(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_KEYDOWN: {
        // The keys that change text take the mask's steps; the editor only moves.
        const Qt::KeyboardModifiers mods = CurrentModifiers();
        const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier;
        const WPARAM vk = Message.WParam;
        if ((vk == VK_DELETE && shift) || (ctrl && vk == 'X')) {
            Perform(WM_CUT);
            return;
        }
        if ((vk == VK_INSERT && shift) || (ctrl && vk == 'V')) {
            Perform(WM_PASTE);
            return;
        }
        if (vk == VK_DELETE) {
            if (!ReadOnly())
                ApplyMaskEdit(mask_.Delete(EditText(), SelStart(), SelLength()));
            return;
        }
        if (ctrl && (vk == 'Z' || vk == 'Y'))
            return;
        break;
    }
    case WM_CHAR: {
        const char16_t ch = static_cast<char16_t>(Message.WParam);
        if (ReadOnly())
            return;
        if (ch == 8)
            ApplyMaskEdit(mask_.Backspace(EditText(), SelStart(), SelLength()));
        else if (ch >= 32 && ch != 127)
            ApplyMaskEdit(mask_.Type(EditText(), SelStart(), SelLength(), ch));
        return;
    }
    case WM_CUT: CutToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_CLEAR: ClearSelection(); return;
    default:
        break;
    }
    TCustomEdit::DefaultHandler(Message);
}

// ---- TCustomMemo -------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomMemo(AOwner, EditKind::Plain) {}

TCustomMemo::TCustomMemo(TComponent* AOwner, EditKind Kind) : TCustomEdit(AOwner, Kind)
{
    SetBounds(0, 0, 185, 89);
    SetAutoSelect(false);
    ApplyWrap();
    SetScrollBars(ssNone);
}

String TCustomMemo::ExternalText(const String& EditorText) const
{
    return stdmodel::ToCRLF(EditorText);
}

String TCustomMemo::EditorText(const String& External) const
{
    return stdmodel::ToLF(External);
}

std::vector<String> TCustomMemo::Lines() const
{
    return stdmodel::SplitLines(GetText());
}

void TCustomMemo::SetLines(const std::vector<String>& Value)
{
    String text;
    for (size_t i = 0; i < Value.size(); ++i) {
        text += Value[i];
        text += u"\r\n";
    }
    SetText(text);
}

void TCustomMemo::SetWordWrap(bool Value)
{
    wordWrap_ = Value;
    ApplyWrap();
}

void TCustomMemo::ApplyWrap()
{
    if (Host() && Host()->plain)
        Host()->plain->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
    scrollBars_ = Value;
    if (!Host() || !Host()->plain)
        return;
    const bool v = Value == ssVertical || Value == ssBoth;
    const bool h = Value == ssHorizontal || Value == ssBoth;
    Host()->plain->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Host()->plain->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TCustomMemo::KeyPress(char16_t& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key == u'\r' && !wantReturns_)
        Key = 0;
}

void TCustomMemo::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
        // Enter makes a line break instead of pressing the default button; Escape still
        // reaches the form's cancel button.
        if (Message.WParam == VK_RETURN && wantReturns_) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        TCustomEdit::WndProc(Message);
        if (wantTabs_)
            Message.Result |= DLGC_WANTTAB;
        return;
    default:
        break;
    }
    TCustomEdit::WndProc(Message);
}

// ---- TCustomRichEdit ---------------------------------------------------------------------

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomMemo(AOwner, EditKind::Rich)
{
    SetBounds(0, 0, 185, 89);
}

bool TCustomRichEdit::LoadRichText(StringView Value)
{
    const bool ok = doc_.Load(Value);
    docText_ = doc_.PlainText();
    SetText(docText_);
    docText_ = Text();
    docValid_ = true;
    return ok;
}

const TRichDocument& TCustomRichEdit::Document() const
{
    const String t = Text();
    if (!docValid_ || t != docText_) {
        TRichCharFormat f;
        f.FontName = Font()->Name();
        f.Size = Font()->Size();
        doc_.SetPlainText(t, f);
        docText_ = t;
        docValid_ = true;
    }
    return doc_;
}

void TCustomRichEdit::SetTextColor(TColor Color, int MaxChars)
{
    (void)Document();
    doc_.SetTextColor(Color, MaxChars);
}

TSize TCustomRichEdit::FormatRange(TCanvas* Canvas, const TRect& TwipsRect)
{
    const int ppi = ScreenPixelsPerInch;
    const TRect r{TwipsToPixels(TwipsRect.Left, ppi), TwipsToPixels(TwipsRect.Top, ppi),
                  TwipsToPixels(TwipsRect.Right, ppi), TwipsToPixels(TwipsRect.Bottom, ppi)};
    TRichRenderOptions o;
    o.WordWrap = true;
    o.DefaultColor = Font()->Color();
    return RenderRichText(Canvas, Document(), r, o);
}

TSize TCustomRichEdit::RequestSize() const
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TRichRenderOptions o;
    o.WordWrap = WordWrap();
    o.MeasureOnly = true;
    const int w = WordWrap() ? Width() : 0x3FFFFFFF;
    const TSize s = RenderRichText(scratch.Canvas(), Document(), {0, 0, w, 0x3FFFFFFF}, o);
    return {WordWrap() ? Width() : s.cx, s.cy};
}

} // namespace plat
