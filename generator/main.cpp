// Vantoro: the dialog is the whole program; it ends when the dialog closes.
#include "generator/VantoroDlg.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantoro"));
    zov::vantoro::CVantoroDlg dialog;
    dialog.exec();
    return 0;
}
