// Brunox's four operator dialogs. They share a white background, a logo at the top left, a
// label that understands the '#' mark-up, and a placement that the operator's last moves and
// resizes decide (kept in Brunox.ini between runs).
#pragma once

#include "common/gui/FormatLabel.h"

#include <QDialog>
#include <QString>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

// Left, top, width, height; -1 = not given.
struct TPlacement {
    int iLeft = -1;
    int iTop = -1;
    int iWidth = -1;
    int iHeight = -1;

    bool operator==(const TPlacement&) const = default;
};

class CWhiteDlg : public QDialog {
    Q_OBJECT

public:
    // Object names, for the people (and tests) that drive the dialogs.
    static constexpr const char* kLabelName = "label";
    static constexpr const char* kOkName = "ok";
    static constexpr const char* kCancelName = "cancel";

    CWhiteDlg(bool bResizable, QSize templateSize);

    // Where the dialog opens: a saved position is used when it lies on a screen, otherwise the
    // dialog is centred; a saved size is used when both values are positive.
    void SetInitialPlacement(const TPlacement& placement) { m_tInitial = placement; }
    // The frame's left and top and the window's width and height, as the operator left them.
    TPlacement CurrentPlacement() const { return m_tCurrent; }
    // Whether the dialog was on screen, so that CurrentPlacement says where the operator left it.
    bool WasShown() const { return m_bPlaced; }

    void SetCaption(const QString& caption);
    // UTF-8 text with '#' mark-up.
    void SetLabelText(const std::string& text);
    zov::CFormatLabel* Label() const { return m_pLabel; }

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // Places the controls for the client size; the base places logo and label only.
    virtual void LayOut(QSize client);
    QPushButton* AddButton(const QString& text, const char* name, bool bDefault);
    int LabelLeft() const;
    static constexpr int kGap = 8;

    QScrollArea* m_pLabelArea = nullptr;

private:
    void ApplyInitialPlacement();

    bool m_bResizable;
    bool m_bPlaced = false;
    QSize m_tTemplateSize;
    QLabel* m_pLogo;
    zov::CFormatLabel* m_pLabel;
    TPlacement m_tInitial;
    TPlacement m_tCurrent;
};

// msgbox: the text and OK.
class CWaitDlg : public CWhiteDlg {
    Q_OBJECT

public:
    CWaitDlg();

protected:
    void LayOut(QSize client) override;

private:
    QPushButton* m_pOk = nullptr;
};

// askbox: the question, "Oui" (default) and "Non".
class CAskDlg : public CWhiteDlg {
    Q_OBJECT

public:
    CAskDlg();

protected:
    void LayOut(QSize client) override;

private:
    QPushButton* m_pYes = nullptr;
    QPushButton* m_pNo = nullptr;
};

// editbox: the text, a one-line edit box, "OK" (default) and "Annuler".
class CEditDlg : public CWhiteDlg {
    Q_OBJECT

public:
    static constexpr const char* kEditName = "edit";
    CEditDlg();
    QString EditText() const;
    void SetEditText(const QString& text);

protected:
    void LayOut(QSize client) override;

private:
    QLineEdit* m_pEdit = nullptr;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
};

// combobox: the text, a drop-down list without typing, "OK" (default) and "Annuler".
class CComboDlg : public CWhiteDlg {
    Q_OBJECT

public:
    static constexpr const char* kComboName = "combo";
    CComboDlg();
    // The items are the pieces of `items` between '|' (a trailing '|' adds an empty item); the item
    // at selection is selected, none when it is out of range.
    void SetItems(const QString& items, int selection);
    int SelectedIndex() const;
    int Count() const;
    void SelectIndex(int index);

protected:
    void LayOut(QSize client) override;

private:
    QComboBox* m_pCombo = nullptr;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
};
