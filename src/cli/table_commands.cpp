// kvdtool's table commands: table, pages (print-table is in print_commands.cpp).

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "doc/extended_display.h"
#include "doc/lbx_doc.h"
#include "tables/table_factory.h"

namespace kvd::cli {
namespace {

// A cell's text on one line: a newline becomes the two characters "\n".
void print_cell(const std::string& text) {
    for (char c : text) {
        if (c == '\n') std::fputs("\\n", stdout);
        else std::fputc(c, stdout);
    }
}

}  // namespace

int run_table(const Args& arguments) {
    Args args = arguments;
    set_extended_display(take_flag(args, "--extended"));
    TableKind kind;
    if (args.size() != 2 || !table_kind_from_key(args[0], kind)) {
        return usage_error("用法: kvdtool table summary|load|unload|raw|changes|anchor FILE [--extended]");
    }
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[1])) return 1;
    FixedFontMetrics metrics;
    auto table = make_table(kind, doc, metrics);
    table->fill();
    for (int row = 0; row < table->row_count(); ++row) {
        for (int column = 0; column < table->column_count(); ++column) {
            if (column > 0) std::fputc('\t', stdout);
            print_cell(table->cell_text(row, column));
        }
        std::fputc('\n', stdout);
    }
    return 0;
}

int run_pages(const Args& arguments) {
    Args args = arguments;
    set_extended_display(take_flag(args, "--extended"));
    if (args.size() != 1) return usage_error("用法: kvdtool pages FILE [--extended]");
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    FixedFontMetrics metrics;
    for (const TableName& name : table_names()) {
        auto table = make_table(name.kind, doc, metrics);
        std::printf("%s: %d\n", name.key, table->page_count(doc.page_setup(), doc.print_content()));
    }
    return 0;
}

}  // namespace kvd::cli
