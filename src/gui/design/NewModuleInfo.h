#pragma once

#include "core/design/NewModuleInfoPresenter.h"
#include "core/design/NewModuleInfoRecord.h"

#include <QDialog>

#include <array>
#include <memory>

class QComboBox;
class QLineEdit;

namespace md {

class Prompter;
class Texts;

/// The dialog "新建模块" (resource 20016) with which a new module design starts, and the
/// module information record it fills and keeps for the whole design.
class NewModuleInfo : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20016;
    enum ControlId
    {
        kPins = 20018,
        kScanRows = 20037,
        kLength = 20020,
        kWidth = 20022,
        kName1 = 20025,
        kName2 = 20039,
        kName3 = 20041,
        kName4 = 20043,
        kDriverChip = 20010,
        kScanChip = 20030,
        kDriverType = 20032,
        kScanType = 20033,
    };

    /// The chip library defaults to the host's chip record set.
    explicit NewModuleInfo(QWidget* parent = nullptr);
    NewModuleInfo(std::vector<NewModuleInfoRecord::Chip> library, Prompter* prompter,
                  const Texts* texts, QWidget* parent = nullptr);
    ~NewModuleInfo() override;

    /// Opens the dialog modally; true when the user confirmed.
    bool RunModal();

    std::uint16_t PinCount() const { return m_record.pinCount; }
    std::uint16_t ScanRows() const { return m_record.scanRows; }
    std::uint16_t XPixels() const { return m_record.xPixels; }
    std::uint16_t YPixels() const { return m_record.yPixels; }
    std::u16string ModuleName() const { return m_record.ModuleName(); }
    std::uint32_t ScanChipType() const { return m_record.scanChip.chipType; }
    bool Confirmed() const { return m_record.confirmed != 0; }
    /// Copies the numbers, the name and the chips from a record handed in by the caller.
    void SetFromRecord(const NewModuleInfoRecord& record);
    /// The record the module information section stores and loads.
    NewModuleInfoRecord& Record() { return m_record; }
    const NewModuleInfoRecord& Record() const { return m_record; }

private:
    void BuildControls();
    void Open();
    void Confirm();
    void ShowPresenterState();
    /// The text of a key from the dialog's texts, or the fallback when it has none.
    QString Text(const char* key, const QString& fallback) const;

    NewModuleInfoRecord m_record;
    std::unique_ptr<NewModuleInfoPresenter> m_presenter;
    std::unique_ptr<Prompter> m_ownPrompter;
    std::unique_ptr<Texts> m_ownTexts;
    Prompter* m_prompter = nullptr;
    const Texts* m_texts = nullptr;
    QLineEdit* m_pins = nullptr;
    QLineEdit* m_scanRows = nullptr;
    QLineEdit* m_length = nullptr;
    QLineEdit* m_width = nullptr;
    std::array<QLineEdit*, 4> m_nameParts{};
    QComboBox* m_driverChip = nullptr;
    QComboBox* m_scanChip = nullptr;
    QLineEdit* m_driverType = nullptr;
    QLineEdit* m_scanType = nullptr;
};

} // namespace md
