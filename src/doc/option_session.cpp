#include "doc/option_session.h"

#include "doc/extended_display.h"

namespace kvd {

int start_tree_item(int start) {
    switch (start) {
        case kStartCurveStyle:
            return kCurveStyleBranch;
        case kStartPageSetup:
            return kPageSetupBranch;
        case kStartPrintOptions:
            return kPrintOptionsBranch;
        default:
            return -1;
    }
}

bool preview_enabled(int item) {
    return item >= 0 && item < static_cast<int>(kOptionTree.size()) &&
           kOptionTree[static_cast<std::size_t>(item)].parent == kCurveStyleBranch;
}

bool shows_page_preview(OptionPage page) {
    switch (page) {
        case OptionPage::kPaper:
        case OptionPage::kMargin:
        case OptionPage::kPageNumber:
        case OptionPage::kHeaderFooter:
        case OptionPage::kImagePrint:
        case OptionPage::kTablePrint:
            return true;
        default:
            return false;
    }
}

OptionSession::OptionSession(CLbxDoc& doc, SettingsStore& store, StyleColour button_face)
    : doc_(doc),
      store_(store),
      button_face_(button_face),
      saved_style_(doc.curve_style()),
      working_(doc.settings()),
      extended_display_(kvd::extended_display()) {}

bool OptionSession::preview(int item) {
    if (!preview_enabled(item)) return false;
    const double zoom = doc_.zoom_factor();
    doc_.curve_style() = working_.curve_style;
    doc_.set_zoom_factor(zoom);
    doc_.update_all_views(hint::kRefresh);
    return true;
}

bool OptionSession::accept() {
    // The switch first: the views refresh with the tables it shows or hides.
    set_extended_display(extended_display_);
    doc_.apply_settings(working_);
    if (DocFrame* frame = doc_.frame()) frame->show_table_request(ShowTableCode::kSummary, 0);
    if (restored_ && !store_.write(doc_.settings())) {
        doc_.ui().show_error(kSettingsNotWrittenMessage);
        return false;
    }
    return true;
}

void OptionSession::cancel() {
    const double zoom = doc_.zoom_factor();
    doc_.curve_style() = saved_style_;
    doc_.set_zoom_factor(zoom);
    doc_.update_all_views(hint::kRefresh);
}

bool OptionSession::restore_defaults() {
    if (doc_.ui().message_box(kRestoreDefaultsQuestion, kCaptionWarning, MessageButtons::kYesNo,
                              MessageIcon::kWarning) != MessageAnswer::kYes) {
        return false;
    }
    working_ = restored_document_settings(working_, store_.install_folder());
    working_.curve_style.frame.background = button_face_;
    extended_display_ = false;
    restored_ = true;
    return true;
}

}  // namespace kvd
