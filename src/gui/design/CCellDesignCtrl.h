#pragma once

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace md {

class CellCanvas;
class CellDesignPresenter;

/// The cell design dialog (resource 20019): lights from the library are placed, moved and
/// grouped on the canvas. Confirm keeps the cell; Exit (and Escape) drops it.
class CCellDesignCtrl : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20019;

    CCellDesignCtrl(CellDesignPresenter& presenter, QWidget* parent = nullptr);
    ~CCellDesignCtrl() override;

    /// Opens the dialog modally; QDialog::Accepted after a confirm.
    int Run();
    CellCanvas* Canvas() const { return m_canvas; }

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Build();
    void Prepare();
    void AddLight(int colour);
    void UpdateInfo();
    void Redraw(bool plain = false);
    /// Arrow keys, Delete and the copy, paste and info keys; true when the key was consumed.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);

    CellDesignPresenter& m_presenter;
    CellCanvas* m_canvas = nullptr;
    QLineEdit* m_cellSize = nullptr;
    std::array<QComboBox*, 3> m_lights{};
    std::array<QLabel*, 3> m_sizeLines{};
    QPushButton* m_infoButton = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_pixels = nullptr;
    QLabel* m_position = nullptr;
};

} // namespace md
