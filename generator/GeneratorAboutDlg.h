// Vantoro's about box: its icon, its version and OK.
#pragma once

#include <QDialog>

namespace zov::vantoro {

class CGeneratorAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGeneratorAboutDlg(QWidget* parent = nullptr);

    static constexpr const char* kTextName = "aboutText";
};

}  // namespace zov::vantoro
