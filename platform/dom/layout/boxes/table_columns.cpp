#include "platform/dom/layout/boxes/table_columns.h"

#include <litehtml.h>
// The element headers need litehtml.h's declarations first.
#include <html_tag.h>
#include <table.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/dom/layout/boxes/engine_tree.h"

namespace platform::dom {

namespace {

constexpr const char* kSharedMarker = "data-tamrix-shared-columns";

// Wider than any line of a page: a cell laid out this wide takes its widest content's width.
constexpr int kUnbounded = 1 << 22;

// Names the engine's protected table grid through a class derived from the element.
struct GridOf : litehtml::html_tag {
    static constexpr std::unique_ptr<litehtml::table_grid> litehtml::html_tag::*kMember =
        &GridOf::m_grid;
};

litehtml::table_grid* gridOf(litehtml::element& element) {
    const auto display = element.get_display();
    if (display != litehtml::display_table && display != litehtml::display_inline_table)
        return nullptr;
    auto* table = dynamic_cast<litehtml::html_tag*>(&element);
    return table ? (table->*GridOf::kMember).get() : nullptr;
}

// The tables of the page with their grids, of more than one column.
std::vector<std::pair<litehtml::element*, litehtml::table_grid*>> tablesOf(
    litehtml::document& page) {
    std::vector<std::pair<litehtml::element*, litehtml::table_grid*>> tables;
    forEachEngineElement(*page.root(), [&](litehtml::element& element) {
        if (litehtml::table_grid* grid = gridOf(element); grid && grid->cols_count() > 1)
            tables.emplace_back(&element, grid);
    });
    return tables;
}

bool allColumnsAutomatic(litehtml::table_grid& grid) {
    for (int column = 0; column < grid.cols_count(); ++column)
        if (!grid.column(column).css_width.is_predefined())
            return false;
    return true;
}

// Each column's widest content with the cells' padding and border, as the engine lays a
// cell out: the engine's own is never more than the table's width.
std::vector<int> widestContents(litehtml::table_grid& grid) {
    std::vector<int> widest;
    for (int column = 0; column < grid.cols_count(); ++column)
        widest.push_back(grid.column(column).max_width);
    for (int row = 0; row < grid.rows_count(); ++row)
        for (int column = 0; column < grid.cols_count(); ++column)
            if (litehtml::table_cell* cell = grid.cell(column, row);
                cell && cell->el && cell->colspan == 1 && !grid.is_rowspanned(row, column))
                widest[column] = std::max(widest[column], cell->el->render(0, 0, kUnbounded));
    return widest;
}

// The columns' widths interpolated between their narrowest and widest for the width the
// engine gave them in all, rounded so that they add up to it; empty when the table is not
// between the two or the engine's widths are those already. `measured` is set when the cells
// were laid out again to measure them: the page must then be rendered again even when no
// width changes, or they keep the unbounded width they were measured at.
std::vector<int> sharedWidths(litehtml::table_grid& grid, bool& measured) {
    long narrowest = 0;
    long engineWidest = 0;
    long total = 0;
    for (int column = 0; column < grid.cols_count(); ++column) {
        narrowest += grid.column(column).min_width;
        engineWidest += grid.column(column).max_width;
        total += grid.column(column).width;
    }
    // Widths the engine keeps below the table's are nobody's cut: such a table is as wide as
    // its widest content, and its cells need not be laid out again to tell.
    if (total <= narrowest || total >= engineWidest)
        return {};
    measured = true;
    const std::vector<int> widest = widestContents(grid);
    long widestTotal = 0;
    for (int width : widest)
        widestTotal += width;
    if (total >= widestTotal)
        return {};
    const double share = static_cast<double>(total - narrowest) / (widestTotal - narrowest);
    std::vector<int> widths;
    double exact = 0;
    long rounded = 0;
    bool differs = false;
    for (int column = 0; column < grid.cols_count(); ++column) {
        const int least = grid.column(column).min_width;
        exact += least + (widest[column] - least) * share;
        const long upTo = std::lround(exact);
        widths.push_back(static_cast<int>(upTo - rounded));
        rounded = upTo;
        differs = differs || widths.back() != grid.column(column).width;
    }
    return differs ? widths : std::vector<int>{};
}

}  // namespace

void releaseSharedTableColumns(const EngineElements& page) {
    for (litehtml::element* table : page.elements) {
        const char* shared = table->get_attr(kSharedMarker);
        litehtml::table_grid* grid = gridOf(*table);
        if (!shared || std::strcmp(shared, "1") != 0 || !grid)
            continue;
        for (int column = 0; column < grid->cols_count(); ++column)
            grid->column(column).css_width.predef(0);
        table->set_attr(kSharedMarker, "0");
    }
}

bool shareAutoTableColumns(litehtml::document& page) {
    bool changed = false;
    for (auto [table, grid] : tablesOf(page)) {
        if (!allColumnsAutomatic(*grid))
            continue;
        bool measured = false;
        const std::vector<int> widths = sharedWidths(*grid, measured);
        changed = changed || measured;
        if (widths.empty())
            continue;
        for (int column = 0; column < grid->cols_count(); ++column)
            grid->column(column).css_width.set_value(static_cast<float>(widths[column]),
                                                     litehtml::css_units_px);
        table->set_attr(kSharedMarker, "1");
        changed = true;
    }
    return changed;
}

}  // namespace platform::dom
