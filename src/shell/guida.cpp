#include "guida.h"

#include "appcontext.h"
#include "conventions.h"
#include "services.h"
#include "style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvello
{

QString paragraphs(std::initializer_list<QString> list)
{
    QString out;
    for (const QString& p : list) {
        if (!out.isEmpty())
            out += QStringLiteral("\r\n\r\n");
        out += p;
    }
    return out;
}

TfrmGuida::TfrmGuida(AppContext& ctx, QWidget* owner) : QDialog(owner), m_ctx(ctx)
{
    nameWindow(this, QStringLiteral("frmGuida"), QStringLiteral(" Guida all'utilizzo del software"));
    makeDialogFrame(this);
    setFixedSize(670, 572);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(QIcon(QStringLiteral(":/icons/logo.svg")).pixmap(56, 56));

    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setWordWrap(true);

    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTypeface(txtGuida, "largeBold");

    cmdChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);

    imgPDF = new PictureButton(QStringLiteral("imgPDF"), QStringLiteral(":/icons/pdf.svg"),
                               QStringLiteral("Visualizza guida in formato PDF"), QSize(28, 28), this);
    lnkPDF = new LinkLabel(QStringLiteral("Visualizza guida in formato PDF"), this);
    lnkPDF->setObjectName(QStringLiteral("lnkPDF"));
    connect(imgPDF, &QToolButton::clicked, this, &TfrmGuida::openGuide);
    connect(lnkPDF, &LinkLabel::clicked, this, &TfrmGuida::openGuide);

    auto* head = new QHBoxLayout;
    head->addWidget(logo);
    head->addWidget(lblTitolo, 1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(imgPDF);
    foot->addWidget(lnkPDF);
    foot->addStretch(1);
    foot->addWidget(cmdChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addLayout(head);
    layout->addWidget(txtGuida, 1);
    layout->addLayout(foot);
}

void TfrmGuida::setTopic(const QString& title, const QString& text)
{
    lblTitolo->setText(title);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtGuida->setPlainText(shown);
}

void TfrmGuida::openGuide()
{
    // A guide missing from the program's folder is named in the message, like any file that does
    // not open.
    openOrExplain(m_ctx.services(), this, QUrl::fromLocalFile(m_ctx.guidePath()));
}

void showHelp(AppContext& ctx, QWidget* owner, const QString& title, const QString& text)
{
    TfrmGuida help(ctx, owner);
    help.setTopic(title, text);
    ctx.services().runModal(help);
}

} // namespace tarvello
