#include "app/params/param_page.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <charconv>

#include "doc/lbx_doc.h"

namespace kvd {
namespace {

template <typename T>
QString shortest_text(T value) {
    if (!std::isfinite(value) || value == 0) return QStringLiteral("0");  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

}  // namespace

QString float_text(double value) {
    // A value beyond the float range is shown as the double it is.
    if (std::abs(value) > std::numeric_limits<float>::max()) return shortest_text(value);
    return shortest_text(static_cast<float>(value));
}

QString double_text(double value) {
    return shortest_text(value);
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void check_button(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

ParamPage::ParamPage(CLbxDoc& doc, QWidget* parent)
    : QScrollArea(parent), doc_(doc), form_(new QWidget) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setWidget(form_);
    doc_.add_view(this);
}

ParamPage::~ParamPage() {
    doc_.remove_view(this);
    // The boxes go with the widget after this part of the page: closing it
    // takes their focus, and a finished edit must not reach the page then.
    for (Box& box : boxes_) {
        if (box.edit) box.edit->disconnect(this);
    }
}

void ParamPage::on_update(int hint) {
    switch (hint) {
        case hint::kLoadPages:
        case hint::kFileLoaded:
            load_page();
            pending_ = false;
            return;
        case hint::kDisablePages:
            form_->setEnabled(false);
            return;
        case hint::kEnablePages:
            form_->setEnabled(true);
            return;
        default:
            break;
    }
    if (stores_on(hint)) {
        commit_boxes();
        store_page();
        pending_ = false;
    } else {
        other_hint(hint);
    }
}

QLineEdit* ParamPage::add_box(BoxKind kind, int max_chars, BoxAccept accept, BoxShow show) {
    // A number box takes whatever is typed: a text that is not a number is
    // refused with its message when the box is left.
    auto* edit = new QLineEdit(form_);
    const QFontMetrics metrics(edit->font());
    const auto width_of = [&metrics](int chars) {
        return metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 12;
    };
    if (kind == BoxKind::kText) {
        if (max_chars > 0) {
            edit->setMaxLength(max_chars);
            // About half as many Chinese characters show as the box takes.
            edit->setMinimumWidth(width_of(std::min(max_chars, 24)));
        }
    } else {
        // A number box is as wide as the numbers it takes. Its limit is the
        // block's range check, not a length: a length would cut the text of
        // a stored value that happens to be longer.
        edit->setFixedWidth(width_of(std::clamp(max_chars + 1, 4, 14)));
    }
    edit->setText(show());
    boxes_.push_back({edit, std::move(accept), std::move(show)});
    const std::size_t index = boxes_.size() - 1;
    connect(edit, &QLineEdit::editingFinished, this, [this, index] { take_box(boxes_[index]); });
    return edit;
}

void ParamPage::take_box(Box& box) {
    QLineEdit* edit = box.edit.data();
    // A message box taking the focus makes the box finish again; it is done
    // with by then.
    if (taking_ || !edit || !edit->isModified()) return;
    taking_ = true;
    const BoxVerdict verdict = box.accept(edit->text());
    // Either way the box shows the page's value, in its own format.
    edit->setText(box.show());
    if (!verdict.refusal.empty()) {
        tell_refusal(verdict.refusal);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    } else if (verdict.changed) {
        note_user_change();
    }
    taking_ = false;
}

void ParamPage::commit_boxes() {
    for (Box& box : boxes_) take_box(box);
}

void ParamPage::show_boxes() {
    for (Box& box : boxes_) {
        if (box.edit) box.edit->setText(box.show());
    }
}

void ParamPage::note_user_change() {
    pending_ = true;
    doc_.set_modified(true);
}

void ParamPage::tell_refusal(const std::string& message) {
    doc_.ui().message_box(message, kApplicationTitle, MessageButtons::kOk, MessageIcon::kWarning);
}

QLabel* ParamPage::label(const char* text) {
    return new QLabel(QString::fromUtf8(text), form_);
}

QRadioButton* ParamPage::radio(const char* text, QButtonGroup* group, int id) {
    auto* button = new QRadioButton(QString::fromUtf8(text), form_);
    group->addButton(button, id);
    return button;
}

QLabel* ParamPage::help_text(std::string_view text) {
    auto* help = new QLabel(utf8(text), form_);
    help->setWordWrap(true);
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return help;
}

}  // namespace kvd
