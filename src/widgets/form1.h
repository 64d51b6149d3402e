#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;

namespace kdx {

class TraceSurface;

// The controls of one parameter row, P0..P7.
struct ParamRow {
    QLabel *label;
    QLineEdit *current;  // current value, as the controller reported it
    QLineEdit *newValue; // the value to send
    QScrollBar *scroll;  // dials the new value
    QPushButton *read;   // hidden single read
    QPushButton *test;
    QPushButton *save;
};

// The terminal's one window. It owns every control under the names of its
// layout and its hover help; the rows of parameters are built from the
// parameter table. The values the controls show belong to the operations
// (the composition root binds the two). Places and sizes are laid out in
// twips, 15 to a pixel.
class Form1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kClientWidthTwips = 14730;
    static constexpr int kClientHeightTwips = 9315;

    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    ParamRow row(int n) const { return m_rows.at(std::size_t(n)); }

    // The lower half shows the stored sets or the monitor.
    void showStoredSets();
    void showMonitor();
    // Puts the listed scales into the two scale lists, leaving their texts.
    void fillScaleLists();

    enum class Pointer { Default, Hourglass };
    void setMousePointer(Pointer pointer);
    Pointer mousePointer() const;

    // The help panel and the port panel of the status bar.
    QLabel *helpPanel() const { return StatusPanel2; }
    QLabel *portPanel() const { return StatusPanel1; }

    static int twips(int value) { return (value + kTwipsPerPixel / 2) / kTwipsPerPixel; }

    // clang-format off
    // Frames
    QGroupBox *Frame1, *Frame2, *Frame3, *Frame4;

    // The rest of the parameter frame (the rows: row(n))
    QLabel *Label15, *Label27, *Label16;
    QPushButton *Command3, *Command27, *Command20, *AutoTuning, *Command35;
    QCheckBox *Check1;
    QLabel *Label23, *Label10;

    // Motor test
    QPushButton *Command31, *Command32, *Command33, *Command34;
    QLabel *Label9, *Label26, *Label11, *Label24, *Label28;
    QScrollBar *HScroll2, *HScroll11;
    QRadioButton *Option1, *Option2;
    QCheckBox *Check3;
    QLineEdit *Text9, *txtEncoder;

    // Position-error monitor
    TraceSurface *Picture1;
    QFrame *Line1;
    QLabel *Label17, *Label18, *Label19, *Label20, *Label21, *Label25;
    QComboBox *Combo1, *Combo2;
    QCheckBox *Check2;
    QLineEdit *Text20, *Text24;
    QPushButton *Command28, *Command41, *Command42, *Command39;

    // Stored parameter sets
    QListWidget *List1;
    QPushButton *Command36, *Command30, *Command29, *Command40, *Command37, *Command38;

    // Status bar
    QStatusBar *StatusBar1;
    QLabel *StatusPanel1, *StatusPanel2, *StatusPicture;
    // clang-format on

    // In Hungarian; the window shows them in the language in use.
    static const char *const kCaption;
    static const char *const kGeneralHint;
    static const char *const kPortPanelFormat;
    // The first panel's text for the port, in the language in use.
    static QString portPanelText(const QString &port);

signals:
    // The window has been shown for the first time (after it is painted).
    void firstShown();
    // The operator asked to close the window.
    void closeRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildParameterFrame();
    void buildMotorFrame();
    void buildMonitorFrame();
    void buildFileFrame();
    void buildStatusBar();

    std::array<ParamRow, 8> m_rows{};
    bool m_shown = false;
};

} // namespace kdx
