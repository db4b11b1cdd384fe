#pragma once
// The string tree's content export: the node walks of the text sources, the export-mode
// filter, and the HTML, RTF, delimited-text and custom renderers behind the tree's
// ContentTo* operations, with the clipboard's HTML wrapping.
// - Cell texts, captions and attribute values in HTML are escaped (& < > "), font names too;
//   RTF font names escape \ { and }. Texts from the tree never change the markup.
// - Delimited text puts a cell in double quotes (inner quotes doubled) when it holds the
//   separator, a double quote, CR or LF, so every cell reads back as it was.
#include <string>
#include <string_view>

#include "LazyTrees.BaseTree.h"

namespace vtree {

// The walk of a text source: the first node and the node after Node (nullptr at the end).
PLazyNode ExportFirstNode(TBaseLazyTree& Tree, TVSTTextSourceType Source);
PLazyNode ExportNextNode(TBaseLazyTree& Tree, PLazyNode Node, TVSTTextSourceType Source);
// Whether the tree's ExportMode admits Node.
bool IsNodeExported(TBaseLazyTree& Tree, PLazyNode Node);

String RenderHTML(TCustomLazyStringTree& Tree, TVSTTextSourceType Source, const String& Caption);
std::string RenderRTF(TCustomLazyStringTree& Tree, TVSTTextSourceType Source);
String RenderText(TCustomLazyStringTree& Tree, TVSTTextSourceType Source, const String& Separator);
void RenderCustom(TCustomLazyStringTree& Tree, TVSTTextSourceType Source);

// Text for HTML content and attribute values: & < > " become entities.
String HtmlEscape(plat::StringView Text);
// The clipboard's HTML block around a UTF-8 fragment: the 97-byte header with StartHTML 97,
// EndHTML L + 301, StartFragment 269 and EndFragment L + 269 (L the fragment's bytes), then
// the document around the fragment. Without the terminating NUL.
std::string WrapClipboardHtmlFragment(std::string_view Fragment);
// "#RRGGBB" of a colour after resolving system colours.
String HtmlColor(plat::TColor Color);
// Twips of a pixel count at PixelsPerInch, rounded to the nearest integer, halves to even.
long long PixelsToTwips(long long Pixels, int PixelsPerInch);

} // namespace vtree
