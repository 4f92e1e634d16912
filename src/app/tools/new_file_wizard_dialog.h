#pragma once
// CNewFileWizard: "建立一个新文件", the dialog of File › New. It asks for the
// maximum load, the number of grades, the first loading multiple, whether to
// add unloading grades and the two tables of sampling intervals, and hands
// them to the document as a WizardInput. OK is refused while a field does
// not hold a whole number or a value outside its box's range (the platform's
// message, the field selected) or while the record rules refuse the input
// (their message through the document's UserInterface); the dialog then
// stays open. Cancel leaves everything as it was.

#include <QDialog>
#include <array>

#include "record/new_file_wizard.h"

class QCheckBox;
class QLineEdit;

namespace kvd {

class UserInterface;

class CNewFileWizard : public QDialog {
    Q_OBJECT

public:
    explicit CNewFileWizard(UserInterface& ui, QWidget* parent = nullptr,
                            const WizardInput& initial = WizardInput{});

    // What the fields held when OK was accepted (the initial input before).
    const WizardInput& input() const { return input_; }

    QLineEdit* max_load_field() const { return max_load_; }
    QLineEdit* grades_field() const { return grades_; }
    QLineEdit* multiple_field() const { return multiple_; }
    QCheckBox* unloading_box() const { return unloading_; }
    QLineEdit* load_field(int index) const {
        return load_fields_.at(static_cast<std::size_t>(index));
    }
    QLineEdit* unload_field(int index) const {
        return unload_fields_.at(static_cast<std::size_t>(index));
    }

public slots:
    void accept() override;

private:
    UserInterface& ui_;
    WizardInput input_;
    QLineEdit* max_load_ = nullptr;
    QLineEdit* grades_ = nullptr;
    QLineEdit* multiple_ = nullptr;
    QCheckBox* unloading_ = nullptr;
    std::array<QLineEdit*, kIntervalCount> load_fields_{};
    std::array<QLineEdit*, kIntervalCount> unload_fields_{};
};

}  // namespace kvd
