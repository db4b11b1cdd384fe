#pragma once
// The conditions a string grid filters its rows by (published as Filter): a collection of
// column conditions, each combined with the outcome of the ones before it.
#include <cstdint>
#include <memory>
#include <vector>

#include "ExtObj.h"
#include "plat/Classes.h"

namespace grid {

class TExtStringGrid;

enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterMethod { fmExpression, fmLiteral };

class TFilterData : public plat::TPersistent {
public:
    String ClassName() const override { return u"TFilterData"; }
    // Copies every property but Method.
    void Assign(const plat::TPersistent* Source) override;

    // Real column; -1 (with fcRow) tests the whole row.
    std::int16_t Column = 0;
    // Filter expression or literal text; empty matches every row.
    String Condition;
    bool CaseSensitive = true;
    String Suffix;
    String Prefix;
    TFilterOperation Operation = foNONE;
    TFilterCells Data = fcVirtual;
    TFilterMethod Method = fmExpression;
};

class TFilter : public plat::TPersistent {
public:
    explicit TFilter(TExtStringGrid* AOwner) : FOwner(AOwner) {}
    String ClassName() const override { return u"TFilter"; }
    void Assign(const plat::TPersistent* Source) override;

    int Count() const { return static_cast<int>(FItems.size()); }
    TFilterData* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    // Operation foNONE for the first item, foAND for any later one.
    TFilterData* Add();
    // Appends (the index is not used) with Operation foSHORT.
    TFilterData* Insert(int Index);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    // The first item of the column, or a new one added for it.
    TFilterData* GetColFilter(int Col);
    // Deletes every item of the column and repaints its header cell.
    void RemoveColumnFilter(int Col);
    bool HasFilter(int Col) const;

private:
    TExtStringGrid* FOwner;
    std::vector<std::unique_ptr<TFilterData>> FItems;
};

} // namespace grid
