#include "listlook.h"

#include "resultlist.h"
#include "shell/conventions.h"
#include "shell/style.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvello::ListLook
{

void styleDialog(QWidget* dialog)
{
    dialog->setAttribute(Qt::WA_StyledBackground);
}

QWidget* titleBand(const QString& iconPath, const QString& title, QWidget* parent)
{
    auto* band = new QFrame(parent);
    band->setObjectName(QStringLiteral("panTitolo"));
    auto* picture = new QLabel(band);
    picture->setPixmap(QIcon(iconPath).pixmap(QSize(36, 36)));
    auto* words = new QLabel(title, band);
    setTypeface(words, "title");
    setTone(words, "title");
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(16, 8, 16, 8);
    layout->setSpacing(12);
    layout->addWidget(picture);
    layout->addWidget(words, 1);
    return band;
}

QWidget* instructionBox(const QString& text, QWidget* parent)
{
    auto* box = new QFrame(parent);
    box->setObjectName(QStringLiteral("panIstruzioni"));
    auto* picture = new QLabel(box);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/info.svg")).pixmap(QSize(26, 26)));
    picture->setAlignment(Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(3);
    for (const QString& line : text.split(u'\n')) {
        auto* l = new QLabel(line, box);
        l->setWordWrap(true);
        setTypeface(l, "small");
        setTone(l, "instruction");
        lines->addWidget(l);
    }
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(10);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(lines, 1);
    return box;
}

QPushButton* button(const QString& objectName, const QString& caption, const QString& iconPath,
                    QWidget* parent)
{
    auto* b = new QPushButton(QIcon(iconPath), caption, parent);
    b->setObjectName(objectName);
    b->setIconSize(QSize(20, 20));
    b->setMinimumWidth(110);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

ListControls buildListControls(AppContext& ctx, QWidget* parent, ResultList::Order order)
{
    ListControls c;
    c.txtTrova = new QLineEdit(parent);
    c.txtTrova->setObjectName(QStringLiteral("txtTrova"));
    c.btnTrova = button(QStringLiteral("btnTrova"), QStringLiteral("Trova"),
                        QStringLiteral(":/icons/trova.svg"), parent);
    c.lstRecords = new ResultList(ctx, parent);
    c.lstRecords->setOrder(order);
    c.lstRecords->setItemWidth(1600);
    c.btnStampa = button(QStringLiteral("btnStampa"), QStringLiteral("Stampa"),
                         QStringLiteral(":/icons/stampa.svg"), parent);
    c.btnChiudi = button(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                         QStringLiteral(":/icons/esci.svg"), parent);
    FieldRules::of(c.txtTrova)->enterMovesTo(c.btnTrova);
    QWidget::setTabOrder(c.txtTrova, c.btnTrova);
    QWidget::setTabOrder(c.btnTrova, c.lstRecords);
    QWidget::setTabOrder(c.lstRecords, c.btnStampa);
    QWidget::setTabOrder(c.btnStampa, c.btnChiudi);
    return c;
}

ListPanel buildListPanel(AppContext& ctx, QWidget* parent)
{
    ListPanel p;
    static_cast<ListControls&>(p) = buildListControls(ctx, parent, ResultList::Order::Sorted);
    p.txtTrova->setClearButtonEnabled(true);
    p.txtTrova->setPlaceholderText(QStringLiteral("Testo da cercare nell'elenco"));

    auto* findCaption = new QLabel(QStringLiteral("Trova nell'elenco:"), parent);
    findCaption->setBuddy(p.txtTrova);
    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(8);
    findRow->addWidget(findCaption);
    findRow->addWidget(p.txtTrova, 1);
    findRow->addWidget(p.btnTrova);

    p.layout = new QVBoxLayout;
    p.layout->setSpacing(10);
    p.layout->addLayout(findRow);
    p.layout->addWidget(p.lstRecords, 1);

    p.footer = new QWidget(parent);
    auto* footer = new QHBoxLayout(p.footer);
    footer->setContentsMargins(0, 0, 0, 0);
    footer->setSpacing(8);
    footer->addStretch(1);
    footer->addWidget(p.btnStampa);
    footer->addWidget(p.btnChiudi);
    return p;
}

void layOutList(QVBoxLayout* layout, const ListPanel& p, const QString& instructions, int spacing,
                QWidget* parent, QWidget* below)
{
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(spacing);
    layout->addWidget(instructionBox(instructions, parent));
    layout->addLayout(p.layout, 1);
    if (below)
        layout->addWidget(below);
    layout->addWidget(p.footer);
}

QLabel* addFoundLabel(const ListPanel& p, const QString& text, QWidget* parent)
{
    QLabel* found = SearchPanels::foundLabel(text, parent);
    static_cast<QHBoxLayout*>(p.footer->layout())->insertWidget(0, found);
    return found;
}

QHBoxLayout* findRow(QLineEdit* field, QPushButton* findButton, QWidget* parent)
{
    field->setClearButtonEnabled(true);
    field->setPlaceholderText(QStringLiteral("Testo da cercare nell'elenco"));
    auto* caption = new QLabel(QStringLiteral("Trova nell'elenco:"), parent);
    caption->setBuddy(field);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(caption);
    row->addWidget(field, 1);
    row->addWidget(findButton);
    return row;
}

} // namespace tarvello::ListLook
