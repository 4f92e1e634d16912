#pragma once
// CUploadDlg: "上传原始数据  ", sending the open test file's raw readings to
// the inspection station. It shows the station's port and address (the last
// ones used, from the settings), the raw readings and how many of them the
// station has acknowledged (read from the test file on disk, which is the
// truth), a progress bar and the blue status line.
//
//   idle (3) --开始上传--> uploading (1) --worker ends / 取消 + yes--> idle (3)
//
// The upload runs run_upload on a thread of its own; the worker reports
// through queued calls, so every control changes on the UI thread only. The
// worker and the dialog share nothing but the CancelToken; the dialog waits
// for the worker before it closes (a cancel ends every wait of the worker at
// once). Acknowledged progress is also copied into the open record's header.

#include <QDialog>
#include <memory>
#include <string>
#include <thread>

#include "doc/lbx_doc.h"
#include "doc/settings_store.h"
#include "output/upload/upload_worker.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kvd {

inline constexpr char kUploadDialogTitle[] = "上传原始数据  ";
inline constexpr char kUploadCancelQuestion[] = "数据正在上传中，是否结束上传？";

class CUploadDlg : public QDialog {
    Q_OBJECT

public:
    enum class State { kUploading = 1, kIdle = 3 };

    // `settings` keeps the station's address and port; `timings` are the
    // protocol's unless a test shortens them.
    CUploadDlg(CLbxDoc& doc, SettingsBackend& settings, QWidget* parent = nullptr,
               const upload::UploadTimings& timings = {});
    ~CUploadDlg() override;

    State state() const { return state_; }
    QLineEdit* port_field() const { return port_; }
    QRadioButton* ip_address_button() const { return ip_address_; }
    QRadioButton* host_name_button() const { return host_name_; }
    QLineEdit* address_field() const { return address_; }
    QLabel* raw_count_label() const { return raw_count_; }
    QLabel* uploaded_label() const { return uploaded_; }
    QProgressBar* progress_bar() const { return progress_; }
    QLabel* status_label() const { return status_; }
    QPushButton* start_button() const { return start_; }
    QPushButton* cancel_button() const { return cancel_; }

public slots:
    // "取消", Escape and the close button: closes when idle; while uploading
    // it asks first and stops the upload on yes.
    void reject() override;

private:
    class Bridge;
    void build();
    void show_stored_progress();
    void start();
    void show_status(const std::string& text);
    void show_progress(std::uint32_t identifier, int uploaded);
    void finished(const upload::UploadOutcome& outcome);
    void stop_worker();
    void set_fields_enabled(bool enabled);

    CLbxDoc& doc_;
    SettingsBackend& settings_;
    upload::UploadTimings timings_;
    State state_ = State::kIdle;
    std::shared_ptr<upload::CancelToken> token_;
    std::unique_ptr<Bridge> bridge_;
    std::thread worker_;

    QLineEdit* port_ = nullptr;
    QRadioButton* ip_address_ = nullptr;
    QRadioButton* host_name_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLabel* raw_count_ = nullptr;
    QLabel* uploaded_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace kvd
