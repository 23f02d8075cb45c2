#pragma once
// Pieces shared by the interface dialogs: the translated texts of their code, the sunken static
// that stands in for an edit in read-only mode, and the interface row (a drop-down list when
// several interfaces are offered, a static with the one name otherwise).

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include <string>

class QGridLayout;
class QHBoxLayout;
class QWidget;

namespace zov::interfaces {

// A text of the code (UTF-8) in the installed language.
QString TT(const char* text);

inline QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

inline std::string ToUtf8(const QString& text)
{
    return text.toStdString();
}

QLabel* MakeSunkenStatic(QWidget& parent, int id);
QPushButton* MakeButton(QWidget& parent, int id, const QString& text);
// "OK" (1) and "Annuler" (2) at the right of a row; `extra` buttons come before them.
QHBoxLayout* MakeButtonRow(QWidget& parent, QPushButton*& ok, QPushButton*& cancel);

// The interface row: combo 1231 and static 1263 at one place of a grid.
class InterfaceRow {
public:
    void Build(QWidget& parent, QGridLayout& grid, int row);
    // One name: the static shows it and the list hides; several: the list holds them all, the
    // first selected. The choice the dialog starts with: 0 with several names, else unchanged.
    void Fill(const QStringList& names, int& choice);
    // The choice after OK: the selected entry minus one when several names were offered.
    void TakeChoice(int& choice) const;

    QComboBox* combo = nullptr;
    QLabel* single = nullptr;
    QStringList names;
};

}  // namespace zov::interfaces
