#pragma once
// The system clipboard: one object per process (Clipboard()), data by format id.
//
// Format ids: CF_TEXT (1, bytes in the ANSI code page), CF_UNICODETEXT (13) and the ids of
// RegisterClipboardFormat. On the system clipboard they travel as MIME types: text as
// "text/plain"; "HTML Format" as "text/html" (the fragment between the block's
// StartFragment and EndFragment byte offsets) together with the whole block under a private
// type; "Rich Text Format" as "text/rtf"; every other registered name under a private
// "application/x-configurator-..." type carrying the bytes.
//
// Open/Close nest. Data set while the clipboard is open is collected and published at the
// outermost Close; SetAsText and SetAsHandle outside Open publish at once. Clear empties
// what the next Close publishes. Open raises EClipboardException "Cannot open clipboard"
// while another holder has the clipboard open (HoldClipboard).
#include <string>

#include "plat/Exception.h"
#include "plat/String.h"
#include "plat/Messages.h"

namespace plat {

class EClipboardException : public Exception { using Exception::Exception; };

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;

class TClipboard {
public:
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT Format) const;
    // Bytes stored under Format ("" when none).
    std::string GetAsHandle(UINT Format) const;
    void SetAsHandle(UINT Format, std::string Bytes);
    String AsText() const;
    void SetAsText(const String& Text);

private:
    int openCount_ = 0;
};

TClipboard& Clipboard();

// Marks the clipboard as held open by another program (true) or released (false); while it
// is held, Open raises. Stands for another process keeping the clipboard open.
void HoldClipboard(bool Held);

} // namespace plat
