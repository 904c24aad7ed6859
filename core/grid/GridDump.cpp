#include "core/grid/GridDump.h"

#include <cstdio>
#include <ostream>
#include <sstream>

namespace rumone {

namespace {

std::string hex(const Rgb& c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

const char* hName(HAlign h)
{
    switch (h) {
        case HAlign::Left:
            return "left";
        case HAlign::Centre:
            return "centre";
        case HAlign::Right:
            return "right";
    }
    return "left";
}

const char* vName(VAlign v)
{
    switch (v) {
        case VAlign::Top:
            return "top";
        case VAlign::Centre:
            return "centre";
        case VAlign::Bottom:
            return "bottom";
    }
    return "centre";
}

}  // namespace

std::string dumpColour(const OptColour& colour)
{
    return colour ? hex(*colour) : "-";
}

std::string dumpBorder(const BorderLine& line)
{
    switch (line.kind) {
        case BorderLine::Kind::None:
            return "-";
        case BorderLine::Kind::Default:
            return "default";
        case BorderLine::Kind::Coloured:
            return hex(line.colour);
    }
    return "-";
}

std::string escapeDumpText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += ch;
        }
    }
    return out;
}

void dumpGrid(const ResultGrid& g, std::ostream& out)
{
    out << "size\t" << g.columns() << '\t' << g.rows() << '\n';
    out << "visible\t" << g.visibleColumns() << '\t' << g.visibleRows() << '\n';
    out << "frozen\t" << g.frozenColumns() << '\t' << g.frozenRows() << '\n';
    for (int c = 1; c <= g.columns(); ++c)
        out << "colwidth\t" << c << '\t' << g.columnWidth(c) << '\n';
    for (int r = 1; r <= g.rows(); ++r)
        out << "rowheight\t" << r << '\t' << g.rowHeight(r) << '\n';
    const char* overflow = g.overflow() ? "1" : "0";
    for (int r = 1; r <= g.rows(); ++r) {
        for (int c = 1; c <= g.columns(); ++c) {
            const CellStyle& s = g.style(c, r);
            out << "cell\t" << c << '\t' << r << '\t' << escapeDumpText(g.getText(c, r)) << '\t' << dumpColour(s.text)
                << '\t' << dumpColour(s.back) << '\t' << hName(s.hAlign) << '\t' << vName(s.vAlign) << '\t'
                << dumpBorder(s.left) << '\t' << dumpBorder(s.top) << '\t' << dumpBorder(s.right) << '\t'
                << dumpBorder(s.bottom) << '\t' << overflow << '\n';
        }
    }
}

std::string dumpGrid(const ResultGrid& grid)
{
    std::ostringstream out;
    dumpGrid(grid, out);
    return out.str();
}

}  // namespace rumone
