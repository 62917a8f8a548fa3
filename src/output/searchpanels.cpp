#include "searchpanels.h"

#include "searchcriteria.h"
#include "shell/conventions.h"
#include "shell/style.h"

#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QVBoxLayout>

namespace tarvello::SearchPanels
{

namespace
{

QVBoxLayout* frameLayout(QDialog* dialog, const Look& look, const QString& iconPath, const QString& title)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(look.titleBand(iconPath, title, dialog));
    return layout;
}

} // namespace

void startDialog(QDialog* dialog, const Look& look, const QString& objectName, const QString& caption)
{
    nameWindow(dialog, objectName, caption);
    makeDialogFrame(dialog);
    look.styleDialog(dialog);
}

void finishDialog(QDialog* dialog, const Look& look, const QString& iconPath, const QString& title,
                  QWidget* body, const QSize& size)
{
    frameLayout(dialog, look, iconPath, title)->addWidget(body, 1);
    dialog->setFixedSize(size);
}

void finishDialog(QDialog* dialog, const Look& look, const QString& iconPath, const QString& title,
                  QLayout* body, const QSize& size)
{
    frameLayout(dialog, look, iconPath, title)->addLayout(body, 1);
    dialog->setFixedSize(size);
}

QLabel* hiddenLabel(const QString& objectName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->hide();
    return label;
}

QLabel* foundLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblTrovate"));
    setTypeface(label, "smallBold");
    return label;
}

ProgressPanel* progressPanelOf(QWidget* window)
{
    return window ? window->findChild<ProgressPanel*>(QStringLiteral("panProgresso")) : nullptr;
}

CriteriaPage buildCriteriaPage(QDialog* dialog, const Look& look, const CriteriaOptions& options)
{
    CriteriaPage c;
    c.page = new QWidget(dialog);
    c.page->setObjectName(options.pageName);

    auto* box = new QGroupBox(QStringLiteral("Criteri di ricerca"), c.page);
    auto* form = new QFormLayout(box);
    if (options.compact)
        form->setContentsMargins(16, 18, 16, 10);
    else
        form->setContentsMargins(16, 20, 16, 12);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(options.compact ? 5 : 8);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    QList<QWidget*> fields;
    for (const Criterion& criterion : options.criteria) {
        auto* field = new QLineEdit(box);
        field->setObjectName(criterion.control);
        if (options.fieldPoints > 0) {
            Q_ASSERT(options.fieldPoints == 12); // the one size the style sheet has for them
            setTypeface(field, "largeBold");
        }
        auto* label = new QLabel(criterion.label, box);
        setTypeface(label, "small");
        setTone(label, "criterion");
        label->setBuddy(field);
        form->addRow(label, field);
        fields.append(field);
        c.fields.append(field);
    }
    setEnterOrder(fields);
    if (options.highlightFields)
        addHighlights(fields);

    c.btnCerca = look.button(QStringLiteral("btnCerca"), QStringLiteral("Cerca"),
                             QStringLiteral(":/icons/trova.svg"), c.page);
    c.btnAnnulla = look.button(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                               QStringLiteral(":/icons/esci.svg"), c.page);
    c.lblAttendere = new QLabel(searchWaitText(), c.page);
    c.lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    setTypeface(c.lblAttendere, "smallBold");
    c.lblAttendere->hide();
    for (int i = 0; i + 1 < fields.size(); ++i)
        QWidget::setTabOrder(fields[i], fields[i + 1]);
    QPushButton* first = options.closeBeforeSearch ? c.btnAnnulla : c.btnCerca;
    QPushButton* second = options.closeBeforeSearch ? c.btnCerca : c.btnAnnulla;
    QWidget::setTabOrder(fields.last(), first);
    QWidget::setTabOrder(first, second);

    auto* footer = new QHBoxLayout;
    if (options.footerSpacing >= 0)
        footer->setSpacing(options.footerSpacing);
    footer->addWidget(c.lblAttendere);
    c.progress = new ProgressPanel(c.page);
    footer->addWidget(c.progress, 2);
    footer->addStretch(1);
    footer->addWidget(c.btnCerca);
    footer->addWidget(c.btnAnnulla);

    auto* layout = new QVBoxLayout(c.page);
    if (options.compact) {
        layout->setContentsMargins(18, 10, 18, 12);
        layout->setSpacing(8);
    } else {
        layout->setContentsMargins(18, 14, 18, 14);
        layout->setSpacing(12);
    }
    layout->addWidget(look.instructionBox(criteriaInstructions(), c.page));
    if (options.compact) {
        layout->addWidget(box, 1);
    } else {
        layout->addWidget(box);
        layout->addStretch(1);
    }
    layout->addLayout(footer);

    // The notice shows as soon as the button goes down, before the search starts on its release.
    QObject::connect(c.btnCerca, &QPushButton::pressed, c.lblAttendere, &QWidget::show);
    QObject::connect(c.btnAnnulla, &QPushButton::clicked, dialog, &QDialog::reject);
    return c;
}

} // namespace tarvello::SearchPanels
