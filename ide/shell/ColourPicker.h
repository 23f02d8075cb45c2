#pragma once
// The colour button of the preference pages: a swatch with a drop-down arrow (or, in combo look,
// a swatch and the colour's name) that opens a pop-up grid of 40 named colours, with an optional
// automatic box above and a "more colours" box below that opens the colour dialog through the
// prompter. Moving over the grid previews in the button; a release, Enter or Space takes the colour;
// Escape, a click outside, a release over no cell or leaving the application restores it.
// Colours are Windows COLORREF values (0x00BBGGRR), as ZOV.ini stores them.

#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace zov::shell {

inline constexpr std::uint32_t kAutomaticColour = 0xFF000000;
// The previewed colour while the mouse is over no cell of the pop-up.
inline constexpr std::uint32_t kNoColour = 0xFFFFFFFF;

// The numbers the picker's notifications had as window messages; the signals below carry them.
enum ColourNotification : int {
    MsgColourChanged = 2025,
    MsgColourDropDown = 2026,
    MsgColourCloseUp = 2027,
    MsgColourSelEndOk = 2028,
    MsgColourSelEndCancel = 2029,
};

struct NamedColour {
    std::uint32_t colour;
    const char* name;  // shown as written: colour names are not translated
};
inline constexpr int kColourCount = 40;
inline constexpr int kColourColumns = 8;
const std::array<NamedColour, kColourCount>& ColourTable();

// Cells of the pop-up: 0..39 the grid, and these three.
inline constexpr int kAutomaticCell = -3;
inline constexpr int kCustomCell = -2;
inline constexpr int kNoCell = -1;

enum class PopupKey { Left, Right, Up, Down };

// Where the hot cell goes on an arrow key. The automatic box exists only with a default text,
// the more colours box only with a custom text.
int NextCell(int cell, PopupKey key, bool hasAuto, bool hasCustom);

// The cell marked as chosen when the pop-up opens on `colour`.
int InitialCell(std::uint32_t colour, bool hasAuto, bool hasCustom);

// What the button shows in combo look: the default text for the automatic colour, a table colour's
// name (with its values when asked), else the values: "R:255 G:2 B:1" for 0x0102FF.
QString ColourText(std::uint32_t colour, const QString& defaultText, const QString& letters, bool nameWithValues);

// The frame fill of the chosen cell: (207 × menu + 48 × highlight) / 256 per component.
std::uint32_t ChosenCellColour(std::uint32_t menu, std::uint32_t highlight);

std::uint32_t ToColourRef(const QColor& colour);
QColor FromColourRef(std::uint32_t colour);

// The pop-up's rectangle moved fully onto the screen: left to end at the right edge, right to
// start at 0, above the button when it would pass the bottom.
QRect KeepPopupOnScreen(QRect popup, const QRect& button, const QRect& screen);

// The pop-up's geometry in its own coordinates.
struct PopupLayout {
    int boxSize = 18;
    int margin = 2;
    int rows = 5;
    QRect window;
    QRect grid;       // the 8 × 5 boxes
    QRect automatic;  // empty without a default text
    QRect custom;     // empty without a custom text
    QRect CellRect(int cell) const;
    int CellAt(QPoint point) const;
};
// captionWidth/captionHeight: the wider and taller of the box captions as measured (0 without).
PopupLayout ComputePopupLayout(bool hasAuto, bool hasCustom, int captionWidth, int captionHeight);

class CColourPickerXP;

// The borderless pop-up; it deletes itself once the choice has ended.
class ColourPopup : public QWidget {
    Q_OBJECT

public:
    ColourPopup(CColourPickerXP& picker, QPoint at, std::uint32_t colour);

    int HotCell() const { return hot_; }
    int ChosenCell() const { return chosen_; }
    const PopupLayout& Layout() const { return layout_; }
    // Ends the choice: taken (the current colour, or the colour dialog for the more colours box)
    // or cancelled (the colour from before the opening).
    void End(bool taken);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void SetHot(int cell);
    void PaintCell(QPainter& painter, int cell);

    QPointer<CColourPickerXP> picker_;
    PopupLayout layout_;
    QString autoText_;
    QString customText_;
    std::uint32_t initial_;
    std::uint32_t current_;
    int hot_ = kNoCell;
    int chosen_ = kNoCell;
    bool ended_ = false;
    bool dialogOpen_ = false;
};

class CColourPickerXP : public QPushButton {
    Q_OBJECT

public:
    explicit CColourPickerXP(QWidget* parent = nullptr);

    std::uint32_t GetColour() const { return colour_; }
    // With `resolve`, the automatic colour answers as the default colour.
    std::uint32_t GetColour(bool resolve) const;
    void SetColour(std::uint32_t colour);
    std::uint32_t GetDefaultColour() const { return defaultColour_; }
    void SetDefaultColour(std::uint32_t colour) { defaultColour_ = colour; }
    // Empty removes the box.
    void SetCustomText(const QString& text) { customText_ = text; }
    void SetDefaultText(const QString& text);
    const QString& CustomText() const { return customText_; }
    const QString& DefaultText() const { return defaultText_; }
    // The ZOV.ini section that keeps the colour dialog's 16 custom colours; empty keeps none.
    void SetCustomColourSection(const QString& section) { section_ = section; }
    // The settings file of that section (ZOV.ini beside the program unless set).
    void SetCustomColourFile(const std::filesystem::path& file) { sectionFile_ = file; }
    void SetComboLook(bool comboLook);
    bool GetComboLook() const { return comboLook_; }
    // Padded with blanks to 3 letters.
    void SetComponentLetters(const QString& letters);
    const QString& ComponentLetters() const { return letters_; }
    void SetNameWithValues(bool on);
    bool GetNameWithValues() const { return nameWithValues_; }

    bool IsPopupOpen() const { return popup_ != nullptr; }
    ColourPopup* Popup() const { return popup_; }
    void OpenPopup();
    // The text combo look shows now.
    QString DisplayText() const;

    // The numeric id the parent knows this button by (object name "c<id>"); 0 without one.
    int ControlId() const;

signals:
    void colourChanged(quint32 colour, int controlId);
    void dropDown(quint32 colour, int controlId);
    void closeUp(quint32 colour, int controlId);
    void selEndOk(quint32 colour, int controlId);
    void selEndCancel(quint32 colour, int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ColourPopup;
    // What the pop-up reports.
    void PopupPreview(std::uint32_t colour);
    void PopupEnded(bool taken, std::uint32_t colour);
    // The colour dialog with the section's custom colours; nothing when cancelled.
    std::optional<std::uint32_t> ChooseOtherColour(std::uint32_t initial);

    std::uint32_t colour_ = kAutomaticColour;
    std::uint32_t defaultColour_;
    QString defaultText_;
    QString customText_;
    QString section_;
    std::filesystem::path sectionFile_;
    QString letters_ = QStringLiteral("RGB");
    bool comboLook_ = false;
    bool nameWithValues_ = false;
    QPointer<ColourPopup> popup_;
};

}  // namespace zov::shell
