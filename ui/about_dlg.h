#pragma once

#include <QDialog>

// The version box.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // The notice line names the port in use, when there is one.
    explicit CAboutDlg(QWidget* parent = nullptr, const QString& portName = {});
};
