// Column and row statistics of TExtStringGrid.
#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "ExtGrid.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

// Compensated summation: the sum of many cells does not drift with their order.
class TSum {
public:
    void Add(double v) {
        const double t = sum_ + v;
        comp_ += std::fabs(sum_) >= std::fabs(v) ? (sum_ - t) + v : (v - t) + sum_;
        sum_ = t;
    }
    double Value() const { return sum_ + comp_; }

private:
    double sum_ = 0, comp_ = 0;
};

} // namespace

template <class F>
void TExtStringGrid::ForColumnCells(int ACol, int FromRow, int ToRow, F&& Visit) {
    if (FromRow == -1 || ToRow == -1) {
        FromRow = FixedRows();
        ToRow = RowCount() - FixedFooters - 1;
    }
    const bool real = ToRow > RowCount() - 1;
    if (real) ToRow = std::min(ToRow, AllRowCount() - 1);
    FromRow = std::max(FromRow, 0);
    const int c = RealColIndex(ACol);
    const bool grouped = HasNodes();
    ExportNotification(esExportStart, FromRow);
    for (int r = FromRow; r <= ToRow; ++r) {
        const bool hidden = real && IsHiddenRow(r);
        const int d = real ? (hidden ? -1 : DisplRowIndex(r)) : r;
        if (!hidden) {
            if (grouped && (IsNode(d) || IsSummary(d))) continue;
            if (!IsBaseCell(c, d)) continue;
        }
        ExportNotification(esExportNewRow, r);
        std::optional<double> v;
        try {
            v = hidden ? AllFloats(c, r) : Floats(c, d);
        } catch (const EExtGridError&) {
        }
        Visit(hidden ? r : d, hidden, v);
    }
    ExportNotification(esExportDone, -1);
}

double TExtStringGrid::ColumnSum(int ACol, int FromRow, int ToRow) {
    TSum s;
    ForColumnCells(ACol, FromRow, ToRow, [&](int, bool, std::optional<double> v) {
        if (v) s.Add(*v);
    });
    return s.Value();
}

double TExtStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow) {
    TSum s;
    int n = 0;
    ForColumnCells(ACol, FromRow, ToRow, [&](int, bool, std::optional<double> v) {
        ++n;
        if (v) s.Add(*v);
    });
    return n > 0 ? s.Value() / n : 0;
}

double TExtStringGrid::ColumnMin(int ACol, int FromRow, int ToRow) {
    std::optional<double> m;
    ForColumnCells(ACol, FromRow, ToRow, [&](int, bool, std::optional<double> v) {
        if (v && (!m || *v < *m)) m = v;
    });
    return m.value_or(0);
}

double TExtStringGrid::ColumnMax(int ACol, int FromRow, int ToRow) {
    std::optional<double> m;
    ForColumnCells(ACol, FromRow, ToRow, [&](int, bool, std::optional<double> v) {
        if (v && (!m || *v > *m)) m = v;
    });
    return m.value_or(0);
}

double TExtStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow) {
    std::vector<double> values;
    ForColumnCells(ACol, FromRow, ToRow,
                   [&](int, bool, std::optional<double> v) { values.push_back(v.value_or(0)); });
    if (values.empty()) return 0;
    TSum s;
    for (double v : values) s.Add(v);
    const double avg = s.Value() / static_cast<double>(values.size());
    TSum q;
    for (double v : values) q.Add((v - avg) * (v - avg));
    return std::sqrt(q.Value() / static_cast<double>(values.size()));
}

double TExtStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow) {
    const int c = RealColIndex(ACol);
    std::set<String> seen;
    ForColumnCells(ACol, FromRow, ToRow, [&](int row, bool hidden, std::optional<double>) {
        seen.insert(plat::AnsiUpperCase(hidden ? GetCellsEx(c, row) : GetCellEx(c, row)));
    });
    return static_cast<double>(seen.size());
}

double TExtStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow) {
    double res = 0;
    if (OnColumnCalc) OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

// ---- rows --------------------------------------------------------------------------------------

double TExtStringGrid::RowSum(int ARow, int FromCol, int ToCol) {
    TSum s;
    for (int d = FromCol; d <= ToCol; ++d) {
        const int c = RealColIndex(d);
        if (IsMergedNonBaseCell(c, ARow)) continue;
        try {
            s.Add(Floats(c, ARow));
        } catch (const EExtGridError&) {
        }
    }
    return s.Value();
}

double TExtStringGrid::RowAvg(int ARow, int FromCol, int ToCol) {
    return ToCol >= FromCol ? RowSum(ARow, FromCol, ToCol) / (ToCol - FromCol + 1) : 0;
}

double TExtStringGrid::RowMin(int ARow, int FromCol, int ToCol) {
    double m = Floats(RealColIndex(FromCol), ARow);
    for (int d = FromCol + 1; d <= ToCol; ++d) {
        const int c = RealColIndex(d);
        if (IsMergedNonBaseCell(c, ARow)) continue;
        try {
            m = std::min(m, Floats(c, ARow));
        } catch (const EExtGridError&) {
        }
    }
    return m;
}

double TExtStringGrid::RowMax(int ARow, int FromCol, int ToCol) {
    double m = Floats(RealColIndex(FromCol), ARow);
    for (int d = FromCol + 1; d <= ToCol; ++d) {
        const int c = RealColIndex(d);
        if (IsMergedNonBaseCell(c, ARow)) continue;
        try {
            m = std::max(m, Floats(c, ARow));
        } catch (const EExtGridError&) {
        }
    }
    return m;
}

} // namespace grid
