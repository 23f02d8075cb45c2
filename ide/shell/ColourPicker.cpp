#include "ide/shell/ColourPicker.h"

#include "common/IniFile.h"
#include "common/SettingsLocation.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/UiLanguage.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>
#include <string>

namespace zov::shell {

namespace {

constexpr std::array<NamedColour, kColourCount> kTable = {{
    {0x000000, "Noir"},           {0x002AA5, "Marron"},      {0x404000, "Vert olive foncé"},
    {0x005500, "Vert foncé"},     {0x5E0000, "Teal foncé"},  {0x8B0000, "Bleu foncé"},
    {0x82004B, "Indigo"},         {0x282828, "Gris foncé"},  {0x00008B, "Rouge foncé"},
    {0x2068FF, "Orange"},         {0x008B8B, "Jaune foncé"}, {0x009300, "Vert"},
    {0x8E8E38, "Vert turquoise"}, {0xFF0000, "Bleu"},        {0xC07B7B, "Gris-bleu"},
    {0x666666, "Gris - 40"},      {0x0000FF, "Rouge"},       {0x5BADFF, "Orange clair"},
    {0x32CD32, "Citron vert"},    {0x71B33C, "Vert océan"},  {0xD4FF7F, "Eau"},
    {0xC09E7D, "Bleu clair"},     {0x800080, "Violet"},      {0x808080, "Gris - 50"},
    {0xCBC0FF, "Rose foncé"},     {0x00D7FF, "Or"},          {0x00FFFF, "Jaune"},
    {0x00FF00, "Vert lumineux"},  {0xD0E040, "Turquoise"},   {0xFFFFC0, "Bleu ciel"},
    {0x480048, "Plum"},           {0xC0C0C0, "Gris clair"},  {0xE1E4FF, "Rose"},
    {0x8CB4D2, "Cuivre"},         {0xE0FFFF, "Jaune clair"}, {0x98FB98, "Vert pâle"},
    {0xEEEEAF, "Turquoise pâle"}, {0x8B8368, "Bleu pâle"},   {0xFAE6E6, "Lavende"},
    {0xFFFFFF, "Blanc"},
}};

constexpr int kLastCell = kColourCount - 1;
constexpr int kCustomColourSlots = 16;

}  // namespace

const std::array<NamedColour, kColourCount>& ColourTable()
{
    return kTable;
}

int NextCell(int cell, PopupKey key, bool hasAuto, bool hasCustom)
{
    const bool inGrid = cell >= 0 && cell <= kLastCell;
    switch (key) {
    case PopupKey::Right:
        if (cell == kAutomaticCell)
            return 0;
        if (inGrid && cell < kLastCell)
            return cell + 1;
        if (inGrid)  // past the last cell
            return hasCustom ? kCustomCell : (hasAuto ? kAutomaticCell : 0);
        return hasAuto ? kAutomaticCell : 0;  // from the more colours box or none
    case PopupKey::Left:
        if (inGrid && cell > 0)
            return cell - 1;
        if (cell == 0 && hasAuto)
            return kAutomaticCell;
        if (cell == kCustomCell)
            return kLastCell;
        // The automatic box, cell 0 without one, or none.
        return hasCustom ? kCustomCell : kLastCell;
    case PopupKey::Down:
        if (inGrid && cell + kColourColumns <= kLastCell)
            return cell + kColourColumns;
        if (inGrid)  // past the grid's end
            return hasCustom ? kCustomCell : (hasAuto ? kAutomaticCell : 0);
        if (cell == kAutomaticCell)
            return 0;
        return hasAuto ? kAutomaticCell : 0;  // from the more colours box or none
    case PopupKey::Up:
        if (inGrid && cell >= kColourColumns)
            return cell - kColourColumns;
        if (inGrid)  // the first row
            return hasAuto ? kAutomaticCell : (hasCustom ? kCustomCell : kLastCell);
        if (cell == kCustomCell)
            return kLastCell;
        return hasCustom ? kCustomCell : kLastCell;  // from the automatic box or none
    }
    return cell;
}

int InitialCell(std::uint32_t colour, bool hasAuto, bool hasCustom)
{
    if (colour == kAutomaticColour && hasAuto)
        return kAutomaticCell;
    for (int i = 0; i < kColourCount; ++i) {
        if (kTable[static_cast<size_t>(i)].colour == colour)
            return i;
    }
    return hasCustom ? kCustomCell : kNoCell;
}

QString ColourText(std::uint32_t colour, const QString& defaultText, const QString& letters, bool nameWithValues)
{
    if (colour == kAutomaticColour)
        return defaultText;
    const QString padded = letters.leftJustified(3, QLatin1Char(' '));
    const QString values = QStringLiteral("%1:%2 %3:%4 %5:%6")
                               .arg(padded[0])
                               .arg(colour & 0xFF)
                               .arg(padded[1])
                               .arg((colour >> 8) & 0xFF)
                               .arg(padded[2])
                               .arg((colour >> 16) & 0xFF);
    for (const NamedColour& entry : kTable) {
        if (entry.colour == colour) {
            const QString name = QString::fromUtf8(entry.name);
            return nameWithValues ? QStringLiteral("%1 (%2)").arg(name, values) : name;
        }
    }
    return values;
}

std::uint32_t ChosenCellColour(std::uint32_t menu, std::uint32_t highlight)
{
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t m = (menu >> shift) & 0xFF;
        const std::uint32_t h = (highlight >> shift) & 0xFF;
        result |= ((207 * m + 48 * h) / 256) << shift;
    }
    return result;
}

std::uint32_t ToColourRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

QColor FromColourRef(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QRect KeepPopupOnScreen(QRect popup, const QRect& button, const QRect& screen)
{
    const int screenRight = screen.x() + screen.width();
    if (popup.x() + popup.width() > screenRight)
        popup.moveLeft(screenRight - popup.width());
    if (popup.x() < screen.x())
        popup.moveLeft(screen.x());
    if (popup.y() + popup.height() > screen.y() + screen.height())
        popup.moveTop(button.y() - popup.height());
    return popup;
}

QRect PopupLayout::CellRect(int cell) const
{
    if (cell == kAutomaticCell)
        return automatic;
    if (cell == kCustomCell)
        return custom;
    if (cell < 0 || cell > kLastCell)
        return {};
    return {grid.x() + (cell % kColourColumns) * boxSize, grid.y() + (cell / kColourColumns) * boxSize, boxSize,
            boxSize};
}

int PopupLayout::CellAt(QPoint point) const
{
    if (!custom.isEmpty() && custom.contains(point))
        return kCustomCell;
    if (!automatic.isEmpty() && automatic.contains(point))
        return kAutomaticCell;
    if (!grid.contains(point))
        return kNoCell;
    const int cell = (point.y() - grid.y()) / boxSize * kColourColumns + (point.x() - grid.x()) / boxSize;
    return cell <= kLastCell ? cell : kNoCell;
}

PopupLayout ComputePopupLayout(bool hasAuto, bool hasCustom, int captionWidth, int captionHeight)
{
    PopupLayout layout;
    const int m = layout.margin;
    if (layout.boxSize - (2 * m + 2) < 5)
        layout.boxSize = 2 * m + 7;
    layout.rows = (kColourCount + kColourColumns - 1) / kColourColumns;
    const int gridWidth = kColourColumns * layout.boxSize;
    const int gridHeight = layout.rows * layout.boxSize;
    int width = gridWidth + 2 * m;
    int height = gridHeight + 2 * m;
    int gridTop = m;
    const int boxHeight = captionHeight + 4 * m + 2;
    if (hasAuto || hasCustom)
        width = std::max(width, captionWidth + 2 * m);
    if (hasAuto) {
        layout.automatic = QRect(m, m, width - 2 * m, boxHeight);
        gridTop += boxHeight + 3 * m;
        height += boxHeight + 3 * m;
    }
    layout.grid = QRect((width - gridWidth) / 2, gridTop, gridWidth, gridHeight);
    if (hasCustom) {
        layout.custom = QRect(m, gridTop + gridHeight + m, width - 2 * m, boxHeight);
        height += boxHeight + 2 * m;
    }
    layout.window = QRect(0, 0, width, height);
    return layout;
}

// --- The pop-up ---

ColourPopup::ColourPopup(CColourPickerXP& picker, QPoint at, std::uint32_t colour)
    : QWidget(&picker, Qt::Popup | Qt::FramelessWindowHint),
      picker_(&picker),
      autoText_(picker.DefaultText()),
      customText_(picker.CustomText()),
      initial_(colour),
      current_(colour)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    const QFontMetrics metrics(font());
    int captionWidth = 0;
    for (const QString* text : {&autoText_, &customText_}) {
        if (!text->isEmpty())
            captionWidth = std::max(captionWidth, metrics.horizontalAdvance(*text) + 16);
    }
    layout_ = ComputePopupLayout(!autoText_.isEmpty(), !customText_.isEmpty(), captionWidth, metrics.height());
    chosen_ = InitialCell(colour, !autoText_.isEmpty(), !customText_.isEmpty());

    QRect placed(at, layout_.window.size());
    const QScreen* screen = picker.screen();
    if (screen != nullptr)
        placed = KeepPopupOnScreen(placed, QRect(picker.mapToGlobal(QPoint(0, 0)), picker.size()), screen->geometry());
    setGeometry(placed);

    // Leaving the application cancels the choice, as a click outside does.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            End(false);
    });
    show();
    setFocus(Qt::PopupFocusReason);
}

void ColourPopup::SetHot(int cell)
{
    if (cell == hot_)
        return;
    hot_ = cell;
    update();
    std::uint32_t sent = initial_;
    if (cell >= 0) {
        current_ = kTable[static_cast<size_t>(cell)].colour;
        sent = current_;
        setToolTip(QString::fromUtf8(kTable[static_cast<size_t>(cell)].name));
    } else if (cell == kAutomaticCell) {
        current_ = kAutomaticColour;
        sent = current_;
        setToolTip({});
    } else if (cell == kNoCell) {
        current_ = kNoColour;
        setToolTip({});
    } else {
        setToolTip({});
    }
    if (picker_)
        picker_->PopupPreview(sent);
}

void ColourPopup::End(bool taken)
{
    if (ended_ || dialogOpen_)
        return;
    if (taken && hot_ == kCustomCell && picker_) {
        // The dialog takes the pop-up's place on screen.
        dialogOpen_ = true;
        hide();
        const std::optional<std::uint32_t> chosen = picker_->ChooseOtherColour(initial_);
        dialogOpen_ = false;
        if (chosen)
            current_ = *chosen;
        else
            taken = false;
    }
    // A colour taken over no cell would be stored as 0xFFFFFFFF: that ends as cancelled.
    if (taken && current_ == kNoColour)
        taken = false;
    if (!taken)
        current_ = initial_;
    ended_ = true;
    if (picker_)
        picker_->PopupEnded(taken, current_);
    close();
}

void ColourPopup::keyPressEvent(QKeyEvent* event)
{
    const bool hasAuto = !autoText_.isEmpty();
    const bool hasCustom = !customText_.isEmpty();
    switch (event->key()) {
    case Qt::Key_Right:
        SetHot(NextCell(hot_, PopupKey::Right, hasAuto, hasCustom));
        return;
    case Qt::Key_Left:
        SetHot(NextCell(hot_, PopupKey::Left, hasAuto, hasCustom));
        return;
    case Qt::Key_Down:
        SetHot(NextCell(hot_, PopupKey::Down, hasAuto, hasCustom));
        return;
    case Qt::Key_Up:
        SetHot(NextCell(hot_, PopupKey::Up, hasAuto, hasCustom));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        End(true);
        return;
    case Qt::Key_Escape:
        End(false);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ColourPopup::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    SetHot(rect().contains(point) ? layout_.CellAt(point) : kNoCell);
}

void ColourPopup::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!rect().contains(point)) {
        End(false);
        return;
    }
    SetHot(layout_.CellAt(point));
    End(hot_ != kNoCell);
}

void ColourPopup::hideEvent(QHideEvent* event)
{
    // Qt hides a pop-up on a click outside it: that is a cancel.
    if (!ended_ && !dialogOpen_)
        End(false);
    QWidget::hideEvent(event);
}

bool ColourPopup::event(QEvent* event)
{
    if (event->type() == QEvent::ApplicationDeactivate)
        End(false);
    return QWidget::event(event);
}

void ColourPopup::PaintCell(QPainter& painter, int cell)
{
    const QRect area = layout_.CellRect(cell);
    if (area.isEmpty())
        return;
    const QPalette& colours = palette();
    const bool box = cell < 0;
    const int margin = box ? 2 : 0;
    const int border = box ? 3 : 2;
    const bool hot = cell == hot_;
    const bool chosen = cell == chosen_;
    const QColor menu = colours.color(QPalette::Window);
    painter.fillRect(area, menu);
    QRect content = area.adjusted(margin + border, margin + border, -(margin + border), -(margin + border));
    if (hot || chosen) {
        const QRect frame = area.adjusted(margin, margin, -margin, -margin);
        if (chosen && !hot) {
            const QColor fill =
                FromColourRef(ChosenCellColour(ToColourRef(menu), ToColourRef(colours.color(QPalette::Highlight))));
            painter.fillRect(frame, fill);
        }
        // Raised for the hot cell, sunken for the chosen one; hot wins.
        qDrawShadeRect(&painter, frame, colours, !hot, 1);
        content = frame.adjusted(border, border, -border, -border);
    }
    if (box) {
        painter.setPen(colours.color(QPalette::WindowText));
        painter.drawText(content, Qt::AlignCenter | Qt::TextSingleLine,
                         cell == kAutomaticCell ? autoText_ : customText_);
        // The etched line toward the grid.
        const int y = cell == kAutomaticCell ? area.bottom() : area.top();
        painter.setPen(colours.color(QPalette::Mid));
        painter.drawLine(area.left() + 2, y, area.right() - 2, y);
        painter.setPen(colours.color(QPalette::Light));
        painter.drawLine(area.left() + 2, y + 1, area.right() - 2, y + 1);
        return;
    }
    const QRect swatch = content.adjusted(1, 1, -1, -1);
    painter.fillRect(swatch, FromColourRef(kTable[static_cast<size_t>(cell)].colour));
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void ColourPopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!autoText_.isEmpty())
        PaintCell(painter, kAutomaticCell);
    for (int cell = 0; cell < kColourCount; ++cell)
        PaintCell(painter, cell);
    if (!customText_.isEmpty())
        PaintCell(painter, kCustomCell);
    qDrawShadePanel(&painter, rect(), palette(), false, 1);
}

// --- The button ---

CColourPickerXP::CColourPickerXP(QWidget* parent)
    : QPushButton(parent),
      defaultColour_(ToColourRef(palette().color(QPalette::Dark))),
      customText_(TranslateLabel(QStringLiteral("Plus de couleurs")) + QStringLiteral("..."))
{
    connect(this, &QPushButton::clicked, this, &CColourPickerXP::OpenPopup);
}

std::uint32_t CColourPickerXP::GetColour(bool resolve) const
{
    return resolve && colour_ == kAutomaticColour ? defaultColour_ : colour_;
}

void CColourPickerXP::SetColour(std::uint32_t colour)
{
    colour_ = colour;
    update();
}

void CColourPickerXP::SetDefaultText(const QString& text)
{
    defaultText_ = text;
    if (comboLook_ && colour_ == kAutomaticColour)
        update();
}

void CColourPickerXP::SetComboLook(bool comboLook)
{
    comboLook_ = comboLook;
    if (comboLook)
        resize(width(), fontMetrics().height() + 8);
    update();
}

void CColourPickerXP::SetComponentLetters(const QString& letters)
{
    letters_ = letters.leftJustified(3, QLatin1Char(' '));
    if (comboLook_ && colour_ != kAutomaticColour)
        update();
}

void CColourPickerXP::SetNameWithValues(bool on)
{
    nameWithValues_ = on;
    if (comboLook_ && colour_ != kAutomaticColour)
        update();
}

QString CColourPickerXP::DisplayText() const
{
    return ColourText(colour_, defaultText_, letters_, nameWithValues_);
}

int CColourPickerXP::ControlId() const
{
    const QString name = objectName();
    if (!name.startsWith(QLatin1Char('c')))
        return 0;
    bool ok = false;
    const int id = name.mid(1).toInt(&ok);
    return ok ? id : 0;
}

void CColourPickerXP::OpenPopup()
{
    if (popup_)
        return;
    popup_ = new ColourPopup(*this, mapToGlobal(QPoint(0, height())), colour_);
    update();
    emit dropDown(colour_, ControlId());
}

void CColourPickerXP::PopupPreview(std::uint32_t colour)
{
    SetColour(colour);
    emit colourChanged(colour, ControlId());
}

void CColourPickerXP::PopupEnded(bool taken, std::uint32_t colour)
{
    popup_ = nullptr;
    const std::uint32_t before = colour_;
    SetColour(colour);
    emit closeUp(colour, ControlId());
    if (taken) {
        emit selEndOk(colour, ControlId());
        if (colour != before)
            emit colourChanged(colour, ControlId());
    } else {
        emit selEndCancel(colour, ControlId());
    }
}

std::optional<std::uint32_t> CColourPickerXP::ChooseOtherColour(std::uint32_t initial)
{
    const std::filesystem::path file =
        sectionFile_.empty()
            ? SettingsFilePath("ZOV.ini", std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()))
            : sectionFile_;
    const std::string section = section_.toStdString();
    const IniFile ini(file);
    for (int i = 0; i < kCustomColourSlots; ++i) {
        const std::string key = "CUSTOM_COLOR_" + std::to_string(i);
        const int value = section.empty() ? 0xFFFFFF : ini.GetInt(section, key, 0xFFFFFF);
        QColorDialog::setCustomColor(i, FromColourRef(static_cast<std::uint32_t>(value)));
    }
    const std::optional<std::uint32_t> chosen =
        ActivePrompter().ChooseColour(TranslateLabel(QStringLiteral("Couleurs")).toStdString(),
                                      initial == kAutomaticColour ? defaultColour_ : initial);
    if (!section.empty()) {
        for (int i = 0; i < kCustomColourSlots; ++i)
            ini.WriteInt(section, "CUSTOM_COLOR_" + std::to_string(i),
                         static_cast<int>(ToColourRef(QColorDialog::customColor(i))));
    }
    return chosen;
}

void CColourPickerXP::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_F4) {
        OpenPopup();
        return;
    }
    if (event->key() == Qt::Key_Up)
        return;
    QPushButton::keyPressEvent(event);
}

void CColourPickerXP::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor swatchColour = FromColourRef(GetColour(true));
    const bool focused = hasFocus();
    if (comboLook_) {
        QStyleOptionComboBox option;
        option.initFrom(this);
        option.editable = false;
        option.frame = true;
        if (popup_)
            option.state |= QStyle::State_On | QStyle::State_Sunken;
        style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        const int side = std::max(4, field.height() - 4);
        const QRect swatch(field.x() + 2, field.y() + (field.height() - side) / 2, side, side);
        painter.fillRect(swatch, swatchColour);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        const QRect textArea = field.adjusted(side + 6, 0, 0, 0);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         fontMetrics().elidedText(DisplayText(), Qt::ElideRight, textArea.width()));
        return;
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown() || popup_)
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int arrowWidth = 12;
    QRect swatch = face.adjusted(2, 2, -(arrowWidth + 8), -2);
    if (isDown() || popup_)
        swatch.translate(1, 1);
    painter.fillRect(swatch, swatchColour);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    // The etched separator, then the arrow.
    const int separator = swatch.right() + 4;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(separator, face.top() + 2, separator, face.bottom() - 2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(separator + 1, face.top() + 2, separator + 1, face.bottom() - 2);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(separator + 3, face.top(), face.right() - separator - 3, face.height());
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    if (focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace zov::shell
