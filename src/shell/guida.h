#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tarvello
{

class AppContext;
class LinkLabel;
class PictureButton;

// The help window: a title, a text of paragraphs and a link to the user guide in PDF.
class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(AppContext& ctx, QWidget* owner = nullptr);
    void setTopic(const QString& title, const QString& text);

private:
    void openGuide();

    QLabel* lblTitolo;
    QPlainTextEdit* txtGuida;
    QPushButton* cmdChiudi;
    LinkLabel* lnkPDF;
    PictureButton* imgPDF;
    AppContext& m_ctx;
};

// Opens a new help window owned by `owner`, modally, and discards it when it closes.
void showHelp(AppContext& ctx, QWidget* owner, const QString& title, const QString& text);

// Paragraphs are separated by one empty line.
QString paragraphs(std::initializer_list<QString> list);

} // namespace tarvello
