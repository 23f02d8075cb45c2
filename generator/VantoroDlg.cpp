#include "generator/VantoroDlg.h"

#include "generator/GeneratorAboutDlg.h"

#include "common/gui/FolderPicker.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

// A static library's resources are linked only when something names them.
static void InitVantoroResources()
{
    Q_INIT_RESOURCE(vantoro);
}

namespace zov::vantoro {

namespace {

struct DialogTexts {
    const char* name;
    const char* folder;
    const char* type;
    const char* copyright;
    const char* version;
    const char* synchro;
    const char* stream;
    const char* exit;
    const char* cancel;
};

constexpr DialogTexts kFrench = {"Nom:",     "Répertoire:",         "Type de projet:",       "Copyright:",
                                 "Version:", "Message de synchro:", "Interface de synchro:", "Message de sortie:",
                                 "Annuler"};
constexpr DialogTexts kEnglish = {
    "Name:",         "Path:", "Project type:", "Copyright:", "Version:", "Synchro message:", "Synchro interface:",
    "Exit message:", "Cancel"};

constexpr const char* kBrowsePrompt = "Sélectionner un répertoire";
constexpr const char* kCannotSave = "Impossible d'enregistrer le fichier:\n%1";
constexpr const char* kAboutEntry = "&A propos de Vantoro...";

// The wait cursor for as long as the generation runs, restored on every way out.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QLineEdit* AddEdit(QFormLayout* form, const char* label, const char* objectName, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(objectName);
    form->addRow(QString::fromUtf8(label), edit);
    return edit;
}

QComboBox* AddList(QFormLayout* form, const char* label, const char* objectName, const QStringList& entries,
                   QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(objectName);
    list->addItems(entries);
    list->setCurrentIndex(0);
    form->addRow(QString::fromUtf8(label), list);
    return list;
}

std::string Utf8(const QLineEdit* edit)
{
    return edit->text().toStdString();
}

}  // namespace

DialogLanguage LanguageOf(const QLocale& locale)
{
    return locale.language() == QLocale::English ? DialogLanguage::English : DialogLanguage::French;
}

DialogLanguage SystemDialogLanguage()
{
    return LanguageOf(QLocale::system());
}

CVantoroDlg::CVantoroDlg(DialogLanguage language, QWidget* parent) : QDialog(parent)
{
    InitVantoroResources();
    const DialogTexts& texts = language == DialogLanguage::English ? kEnglish : kFrench;
    const GeneratorSettings defaults;

    setObjectName("vantoro");
    setWindowTitle(QString::fromUtf8(kVantoroTitle));
    setWindowIcon(QIcon(":/vantoro/vantoro.png"));

    auto* form = new QFormLayout;
    // One look under every style: labels on the left, fields that take the width.
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);

    m_name = AddEdit(form, texts.name, kNameEdit, QString(), this);

    m_folder = new QLineEdit(this);
    m_folder->setObjectName(kFolderEdit);
    m_folder->setMinimumWidth(280);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(kBrowseButton);
    browse->setAutoDefault(false);
    browse->setToolTip(QString::fromUtf8(kBrowsePrompt));
    // A narrow button the height of the edit beside it, as a browse button usually is.
    browse->setFixedSize(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24,
                         m_folder->sizeHint().height());
    auto* folderRow = new QHBoxLayout;
    folderRow->setSpacing(4);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    form->addRow(QString::fromUtf8(texts.folder), folderRow);

    m_type = AddList(
        form, texts.type, kTypeList,
        {QStringLiteral("Visual C++ 6.0"), QStringLiteral("Visual C++ 2008 Express"), QStringLiteral("DevC++ 5.0")},
        this);
    m_copyright = AddEdit(form, texts.copyright, kCopyrightEdit, QString::fromStdString(defaults.copyright), this);
    m_version = AddEdit(form, texts.version, kVersionEdit, QString::fromStdString(defaults.version), this);
    m_synchro = AddEdit(form, texts.synchro, kSynchroEdit, QString::fromStdString(defaults.synchroMessage), this);
    m_stream = AddList(form, texts.stream, kStreamList, {QStringLiteral("stderr"), QStringLiteral("stdout")}, this);
    m_exit = AddEdit(form, texts.exit, kExitEdit, QString::fromStdString(defaults.exitMessage), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(kOkButton);
    m_ok->setText(QStringLiteral("OK"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(kCancelButton);
    cancel->setText(QString::fromUtf8(texts.cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &CVantoroDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    // The dialog grows in width only: there is nothing to give more height to.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    setMaximumHeight(sizeHint().height());

    // Qt has no portable window menu: the about entry is on the dialog's context menu.
    auto* about = new QAction(QString::fromUtf8(kAboutEntry), this);
    about->setObjectName(kAboutAction);
    about->setData(0x0010);
    // A context menu is easy to miss: the help key opens the box too.
    about->setShortcut(QKeySequence::HelpContents);
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, &CVantoroDlg::ShowAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_name, &QLineEdit::textChanged, this, &CVantoroDlg::UpdateOkButton);
    connect(m_folder, &QLineEdit::textChanged, this, &CVantoroDlg::UpdateOkButton);
    connect(browse, &QPushButton::clicked, this, &CVantoroDlg::Browse);

    m_folderOpener = [](const QString& folder) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(folder).absoluteFilePath()));
    };
    m_folderBrowser = [this](zov::CFolderPicker& picker) { return picker.Browse(this); };
    m_errorReporter = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };

    UpdateOkButton();
    m_name->setFocus();
}

CVantoroDlg::~CVantoroDlg() = default;

GeneratorSettings CVantoroDlg::Settings() const
{
    GeneratorSettings settings;
    settings.cliName = Utf8(m_name);
    // A path is bytes on this system: the file-name encoding, not the display text.
    settings.targetFolder = QFile::encodeName(m_folder->text()).toStdString();
    settings.projectType = m_type->currentIndex();
    settings.copyright = Utf8(m_copyright);
    settings.version = Utf8(m_version);
    settings.synchroMessage = Utf8(m_synchro);
    settings.synchroStream = m_stream->currentIndex();
    settings.exitMessage = Utf8(m_exit);
    return settings;
}

void CVantoroDlg::UpdateOkButton()
{
    m_ok->setEnabled(!m_name->text().isEmpty() && !m_folder->text().isEmpty());
}

void CVantoroDlg::Browse()
{
    zov::CFolderPicker picker;
    picker.title = QString::fromUtf8(kBrowsePrompt);
    picker.caption = QString::fromUtf8(kBrowsePrompt);
    picker.initialFolder = m_folder->text();  // the picker drops a trailing separator itself
    if (m_folderBrowser(picker) == 1) {
        m_folder->setText(picker.result);
        UpdateOkButton();
    }
}

void CVantoroDlg::ShowAbout()
{
    CGeneratorAboutDlg about(this);
    about.exec();
}

void CVantoroDlg::accept()
{
    if (!m_ok->isEnabled())
        return;
    const GeneratorSettings settings = Settings();
    GenerationResult result;
    {
        WaitCursor wait;
        result = GenerateProject(settings);
    }
    if (!result.ok) {
        m_errorReporter(QString::fromUtf8(kCannotSave).arg(QFile::decodeName(result.failedPath.c_str())));
        return;
    }
    m_folderOpener(m_folder->text());
    QDialog::accept();
}

}  // namespace zov::vantoro
