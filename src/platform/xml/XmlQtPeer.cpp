#include "XmlQtPeer.h"

#include <QSaveFile>
#include <QString>
#include <QXmlStreamWriter>

namespace plat::bench {

namespace {
QString Q(const String& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
QString Q(const char16_t* s) { return QString::fromUtf16(s); }
} // namespace

bool QtWriteRuleTable(const String& FileName, const char16_t* Root, const String& Comment,
                      const std::vector<TPeerTable>& Tables, const std::vector<const char16_t*>& Attributes,
                      const std::vector<String>& Values)
{
    QSaveFile file(Q(FileName));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QXmlStreamWriter w(&file);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartElement(Q(Root));
    std::size_t v = 0;
    for (const TPeerTable& t : Tables) {
        w.writeStartElement(Q(t.Name));
        for (int r = 0; r < t.Rows; ++r) {
            w.writeStartElement(QStringLiteral("row"));
            for (const char16_t* a : Attributes) {
                w.writeAttribute(Q(a), Q(Values[v]));
                v = (v + 1) % Values.size();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeComment(Q(Comment));
    return !w.hasError() && file.commit();
}

} // namespace plat::bench
