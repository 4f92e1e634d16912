#include "app/upload/upload_dlg.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/upload/upload_settings.h"
#include "output/upload/upload_progress.h"

namespace kvd {
namespace {

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

// Carries the worker's reports to the dialog's thread. Queued calls to the
// dialog are dropped by Qt if the dialog is gone, and the dialog waits for
// the worker before it goes, so nothing is reported into a deleted dialog.
class CUploadDlg::Bridge : public upload::UploadObserver {
public:
    explicit Bridge(CUploadDlg* dialog) : dialog_(dialog) {}
    void on_status(const std::string& text) override {
        QMetaObject::invokeMethod(
            dialog_, [dialog = dialog_, text] { dialog->show_status(text); }, Qt::QueuedConnection);
    }
    void on_progress(std::uint32_t identifier, int uploaded) override {
        QMetaObject::invokeMethod(
            dialog_,
            [dialog = dialog_, identifier, uploaded] {
                dialog->show_progress(identifier, uploaded);
            },
            Qt::QueuedConnection);
    }
    void finished(const upload::UploadOutcome& outcome) {
        QMetaObject::invokeMethod(
            dialog_, [dialog = dialog_, outcome] { dialog->finished(outcome); },
            Qt::QueuedConnection);
    }

private:
    CUploadDlg* dialog_;
};

CUploadDlg::CUploadDlg(CLbxDoc& doc, SettingsBackend& settings, QWidget* parent,
                       const upload::UploadTimings& timings)
    : QDialog(parent), doc_(doc), settings_(settings), timings_(timings) {
    build();
    show_stored_progress();
}

CUploadDlg::~CUploadDlg() {
    stop_worker();
}

void CUploadDlg::build() {
    setWindowTitle(QString::fromUtf8(kUploadDialogTitle));
    const UploadSettings stored = read_upload_settings(settings_);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;

    port_ = make_number_field(this, 8);
    port_->setText(QString::number(stored.port));
    grid->addWidget(new QLabel(QStringLiteral("服务器端口号："), this), row, 0);
    grid->addWidget(port_, row++, 1, Qt::AlignLeft);

    ip_address_ = new QRadioButton(QStringLiteral("IP地址"), this);
    host_name_ = new QRadioButton(QStringLiteral("域名"), this);
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(ip_address_);
    kinds->addButton(host_name_);
    (stored.host_name ? host_name_ : ip_address_)->setChecked(true);
    auto* kind_row = new QHBoxLayout;
    kind_row->addWidget(ip_address_);
    kind_row->addWidget(host_name_);
    kind_row->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("服务器地址类型："), this), row, 0);
    grid->addLayout(kind_row, row++, 1);

    address_ = new QLineEdit(text_of(stored.address), this);
    address_->setMaxLength(static_cast<int>(kMaxUploadAddress));
    address_->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')) * 32);
    grid->addWidget(new QLabel(QStringLiteral("服务器地址："), this), row, 0);
    grid->addWidget(address_, row++, 1);

    raw_count_ = new QLabel(this);
    uploaded_ = new QLabel(this);
    grid->addWidget(new QLabel(QStringLiteral("原始数据个数："), this), row, 0);
    grid->addWidget(raw_count_, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("已上传数据个数："), this), row, 0);
    grid->addWidget(uploaded_, row++, 1);
    layout->addLayout(grid);

    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    layout->addWidget(progress_);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setMinimumHeight(3 * QFontMetrics(font()).height());
    QPalette blue = status_->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    status_->setPalette(blue);
    layout->addWidget(status_);

    start_ = new QPushButton(QStringLiteral("开始上传"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    start_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, &CUploadDlg::start);
    connect(cancel_, &QPushButton::clicked, this, &CUploadDlg::reject);
    fix_dialog_size(this);
}

void CUploadDlg::show_stored_progress() {
    const TestRecord& record = doc_.record();
    const int total = record.raw_count();
    raw_count_->setText(QString::number(total));
    progress_->setRange(0, total);
    upload::TestFileProgress progress;
    const Status opened =
        upload::TestFileProgress::open(record.file_path, record.raw_readings, progress);
    if (!opened.ok()) {
        show_progress(0, 0);
        show_status(opened.message());
        start_->setEnabled(false);
        return;
    }
    const upload::StoredProgress& stored = progress.stored();
    show_progress(stored.identifier, stored.uploaded);
    if (!stored.notice.empty()) show_status(stored.notice);
    if (stored.identifier != 0 && stored.uploaded == total) {
        show_status(upload::kStatusComplete);
        start_->setEnabled(false);
    }
}

void CUploadDlg::start() {
    if (state_ == State::kUploading) return;
    const std::optional<int> port = parse_integer(port_->text());
    if (!port || *port < 0 || *port > 65535) {
        refuse_field(port_, QString::fromUtf8(kIntegerRangeMessage).arg(0).arg(65535));
        return;
    }
    const QString address = address_->text().trimmed();
    if (address.isEmpty()) {
        refuse_field(address_, QString::fromUtf8(upload::kStatusNoAddress));
        return;
    }
    UploadSettings chosen;
    chosen.address = address.toStdString();
    chosen.host_name = host_name_->isChecked();
    chosen.port = *port;
    write_upload_settings(settings_, chosen);

    upload::UploadOptions options;
    options.target.address = chosen.address;
    options.target.host_name = chosen.host_name;
    options.target.port = static_cast<std::uint16_t>(chosen.port);
    options.timings = timings_;

    start_->setEnabled(false);
    set_fields_enabled(false);
    show_status(upload::kStatusConnecting);
    state_ = State::kUploading;
    token_ = std::make_shared<upload::CancelToken>();
    bridge_ = std::make_unique<Bridge>(this);
    worker_ = std::thread([source = upload::UploadSource::from_record(doc_.record()), options,
                           token = token_, bridge = bridge_.get()] {
        const upload::UploadOutcome outcome = upload::run_upload(source, options, *bridge, *token);
        bridge->finished(outcome);
    });
}

void CUploadDlg::show_status(const std::string& text) {
    status_->setText(text_of(text));
}

void CUploadDlg::show_progress(std::uint32_t identifier, int uploaded) {
    uploaded_->setText(QString::number(uploaded));
    progress_->setValue(uploaded);
    // The record keeps what the file says, so that an analysis file saved
    // from it carries the same progress.
    TestHeader& header = doc_.record().header;
    header.upload_progress = static_cast<std::int32_t>(identifier);
    header.upload_state = static_cast<std::uint16_t>(uploaded);
    doc_.absorb_unrecorded_changes();
}

void CUploadDlg::finished(const upload::UploadOutcome& outcome) {
    stop_worker();
    state_ = State::kIdle;
    set_fields_enabled(true);
    if (outcome.result == upload::UploadResult::kCancelled) return;
    show_status(outcome.status);
    // Start again: the records left, or the end message that was not answered.
    start_->setEnabled(outcome.result != upload::UploadResult::kComplete);
}

void CUploadDlg::reject() {
    if (state_ == State::kUploading &&
        doc_.ui().message_box(kUploadCancelQuestion, kCaptionPrompt, MessageButtons::kYesNo,
                              MessageIcon::kQuestion) != MessageAnswer::kYes) {
        return;
    }
    stop_worker();
    state_ = State::kIdle;
    QDialog::reject();
}

void CUploadDlg::stop_worker() {
    if (token_) token_->cancel();
    if (worker_.joinable()) worker_.join();
}

void CUploadDlg::set_fields_enabled(bool enabled) {
    for (QWidget* field : {static_cast<QWidget*>(port_), static_cast<QWidget*>(ip_address_),
                           static_cast<QWidget*>(host_name_), static_cast<QWidget*>(address_)}) {
        field->setEnabled(enabled);
    }
}

}  // namespace kvd
