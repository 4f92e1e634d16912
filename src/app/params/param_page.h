#pragma once
// ParamPage: what the five parameter pages of the lower right pane share. A
// page is a scrollable form bound to the document as one of its views:
//
//   hint 30, 60  load_page()   the record's values into the controls
//   hint 10      store_page()  the controls into the record (before a save);
//                              stores_on() adds hint 20 for some pages
//   hint 50, 55  the form disabled / enabled
//   other hints  other_hint()
//
// Each page keeps the values its controls show in the record layer's field
// block (ProjectPageFields, ...). The number and text boxes are bound to that
// block: a typed text is taken when the box is left (or Enter is pressed), and
// only if the block's validate() accepts the block with the new value in it;
// otherwise the user is told why through the document's UserInterface and the
// box shows its previous value again. So the block always holds accepted
// values and storing never meets a refused one.
//
// A page edit reaches the record only when the page stores, but the first
// accepted change marks the document modified at once, so that closing or
// opening another file asks to save it (the save stores the pages first).

#include <QPointer>
#include <QScrollArea>
#include <QString>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs/dialog_support.h"
#include "base/status.h"
#include "doc/doc_view.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QButtonGroup;

namespace kvd {

class CLbxDoc;

// A float of the header as a box shows it: the shortest text that reads back
// as the same float (0.1f is "0.1", not its double expansion).
QString float_text(double value);
// A double as a box shows it: the shortest text that reads back as the same value.
QString double_text(double value);
QString utf8(std::string_view text);
// Checks the radio of a group with the id (nothing when there is none).
void check_button(QButtonGroup* group, int id);

class ParamPage : public QScrollArea, public DocView {
    Q_OBJECT

public:
    explicit ParamPage(CLbxDoc& doc, QWidget* parent = nullptr);
    ~ParamPage() override;

    void on_update(int hint) override;
    CLbxDoc& doc() const { return doc_; }
    // The form inside the scroll area; disabled by hint 50.
    QWidget* form() const { return form_; }

    // Takes the text of every box that was typed into and not yet taken; a
    // refused text is reported and the box shows its previous value again.
    void commit_boxes();
    // Whether the user changed a value since the page was last loaded or stored.
    bool pending() const { return pending_; }

    // What a box does with a text typed into it. An empty refusal means the
    // value was taken into the page's block; `changed` tells whether it differs
    // from what the block held.
    struct BoxVerdict {
        std::string refusal;
        bool changed = false;
    };
    using BoxAccept = std::function<BoxVerdict(const QString&)>;
    using BoxShow = std::function<QString()>;
    enum class BoxKind { kInteger, kReal, kText };
    // A box of the page: `max_chars` is the input limit of a text box (0 for
    // none) and the width of a number box; `show` gives the text of the
    // block's value.
    QLineEdit* add_box(BoxKind kind, int max_chars, BoxAccept accept, BoxShow show);

protected:
    virtual void load_page() = 0;
    virtual void store_page() = 0;
    virtual bool stores_on(int hint) const { return hint == hint::kStorePages; }
    virtual void other_hint(int hint) { (void)hint; }

    // Every box shows its block value again (after a load or a rule changed the block).
    void show_boxes();
    // The user changed a value of the page: the document is modified.
    void note_user_change();
    void clear_pending() { pending_ = false; }
    // Tells the user a typed value is refused (application caption, warning icon).
    void tell_refusal(const std::string& message);

    // Small builders for the forms.
    QLabel* label(const char* text);
    QRadioButton* radio(const char* text, QButtonGroup* group, int id);
    QLabel* help_text(std::string_view text);

private:
    struct Box {
        QPointer<QLineEdit> edit;
        BoxAccept accept;
        BoxShow show;
    };
    void take_box(Box& box);

    CLbxDoc& doc_;
    QWidget* form_;
    std::vector<Box> boxes_;
    bool pending_ = false;
    bool taking_ = false;
};

// Binds boxes to the fields of a page's block. `check` is the block's
// validate(); a candidate block with the typed value is checked whole.
template <typename Fields>
class FieldBinder {
public:
    using Check = std::function<Status(const Fields&)>;
    FieldBinder(ParamPage& page, Fields& shown, Check check)
        : page_(page), shown_(shown), check_(std::move(check)) {}

    QLineEdit* integer(std::function<int&(Fields&)> ref, int max_chars = 0) {
        return page_.add_box(
            ParamPage::BoxKind::kInteger, max_chars,
            [this, ref](const QString& text) -> ParamPage::BoxVerdict {
                const std::optional<int> value = parse_integer(text);
                if (!value) return {kEnterIntegerMessage, false};
                return take(ref, *value);
            },
            [this, ref] { return QString::number(ref(shown_)); });
    }

    QLineEdit* real(std::function<double&(Fields&)> ref, int max_chars = 0,
                    std::function<QString(double)> format = float_text) {
        return page_.add_box(
            ParamPage::BoxKind::kReal, max_chars,
            [this, ref](const QString& text) -> ParamPage::BoxVerdict {
                const std::optional<double> value = parse_number(text);
                if (!value) return {kEnterNumberMessage, false};
                return take(ref, *value);
            },
            [this, ref, format] { return format(ref(shown_)); });
    }

    QLineEdit* text(std::function<std::string&(Fields&)> ref, int max_chars) {
        return page_.add_box(
            ParamPage::BoxKind::kText, max_chars,
            [this, ref](const QString& typed) { return take(ref, typed.toStdString()); },
            [this, ref] { return QString::fromStdString(ref(shown_)); });
    }

private:
    template <typename T>
    ParamPage::BoxVerdict take(const std::function<T&(Fields&)>& ref, T value) {
        Fields candidate = shown_;
        ref(candidate) = std::move(value);
        if (check_) {
            const Status status = check_(candidate);
            if (!status.ok()) return {status.message(), false};
        }
        const bool changed = !(ref(candidate) == ref(shown_));
        shown_ = std::move(candidate);
        return {std::string(), changed};
    }

    ParamPage& page_;
    Fields& shown_;
    Check check_;
};

}  // namespace kvd
