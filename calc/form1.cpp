// The calculation window (`Form1`): its control table, the two input modes, calculate and record.
#include "form1.h"

#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "boxes.h"
#include "calculate.h"
#include "closeform.h"
#include "controltable.h"
#include "decorativeglyph.h"
#include "defaultbutton.h"
#include "fonts.h"
#include "messagebox.h"
#include "notice.h"
#include "optionbutton.h"
#include "record.h"
#include "twips.h"

namespace {

using Kind = ControlKind;

// Containers come before the controls they hold.
constexpr ControlDesc kControls[] = {
    {"Frame1", Kind::Frame, nullptr, 240, 120, 5775, 495, "选择已知条件", 0},
    {"Frame2", Kind::Frame, nullptr, 240, 720, 5775, 1335, "输入已知参数", 3},
    {"Frame3", Kind::Frame, nullptr, 240, 2160, 5775, 2295, "输出待求参数", 14},
    {"Command1", Kind::Button, nullptr, 240, 4560, 975, 375, "计 算", 52},
    {"Command2", Kind::Button, nullptr, 1440, 4560, 1095, 375, "记录数据", 53},
    {"Command3", Kind::Button, nullptr, 2760, 4560, 1095, 375, "退 出", 54},
    {"Option1", Kind::Option, "Frame1", 120, 240, 2655, 180, "1、已知t、υ和相对湿度ψ；", 1},
    {"Option2", Kind::Option, "Frame1", 3000, 240, 2655, 180, "1、已知t、υ和湿球温度ts。", 2},
    {"Label1", Kind::Label, "Frame2", 120, 240, 1095, 255, "大气压   B=", 4},
    {"Text1", Kind::Text, "Frame2", 1200, 240, 975, 270, kDefaultBText, 5},
    {"Label16", Kind::Label, "Frame2", 2280, 240, 495, 255, "Pa", 35},
    {"Label2", Kind::Label, "Frame2", 2760, 240, 1095, 255, "空气流速υ=", 6},
    {"Text2", Kind::Text, "Frame2", 3960, 240, 975, 270, kDefaultUpsilonText, 7},
    {"Label17", Kind::Label, "Frame2", 5040, 240, 255, 255, "m/s", 36},
    {"Label3", Kind::Label, "Frame2", 120, 600, 1095, 255, "干球温度 t=", 8},
    {"Text3", Kind::Text, "Frame2", 1200, 600, 975, 270, "27", 9},
    {"Label18", Kind::Label, "Frame2", 2280, 600, 255, 255, "℃", 37},
    {"Label4", Kind::Label, "Frame2", 2760, 600, 1095, 255, "湿球温度ts=", 10},
    {"Text4", Kind::Text, "Frame2", 3960, 600, 975, 270, "19", 11},
    {"Label19", Kind::Label, "Frame2", 5040, 600, 255, 255, "℃", 38},
    {"Label5", Kind::Label, "Frame2", 120, 960, 1095, 255, "相对湿度ψ=", 12},
    {"Text5", Kind::Text, "Frame2", 1200, 960, 975, 270, "46.37", 13},
    {"Label20", Kind::Label, "Frame2", 2280, 960, 255, 255, "%", 39},
    {"Label6", Kind::Label, "Frame3", 120, 240, 1095, 255, "湿球温度ts=", 15},
    {"Label7", Kind::Label, "Frame3", 120, 240, 1095, 255, "相对湿度ψ=", 17},
    {"Text6", Kind::Text, "Frame3", 1200, 240, 975, 270, "Text6", 16},
    {"Text7", Kind::Text, "Frame3", 1200, 240, 975, 270, "Text7", 18},
    {"Label21", Kind::Label, "Frame3", 2280, 240, 255, 255, "℃", 40},
    {"Label22", Kind::Label, "Frame3", 2280, 240, 255, 255, "%", 41},
    {"Label8", Kind::Label, "Frame3", 120, 600, 1095, 255, " 含湿量  d=", 19},
    {"Text8", Kind::Text, "Frame3", 1200, 600, 975, 270, "Text8", 20},
    {"Label23", Kind::Label, "Frame3", 2280, 600, 615, 255, "g/kg干", 42},
    {"Label9", Kind::Label, "Frame3", 2880, 600, 1095, 255, "  焓 值  h=", 21},
    {"Text9", Kind::Text, "Frame3", 3960, 600, 975, 270, "Text9", 22},
    {"Label24", Kind::Label, "Frame3", 5040, 600, 615, 255, "kJ/kg干", 43},
    {"Label10", Kind::Label, "Frame3", 120, 960, 1095, 255, "  密度  ρ=", 23},
    {"Text10", Kind::Text, "Frame3", 1200, 960, 975, 270, "Text10", 24},
    {"Label25", Kind::Label, "Frame3", 2280, 960, 495, 255, "kg/m", 44},
    {"Label26", Kind::Label, "Frame3", 2640, 960, 135, 135, "3", 45, 5.25},
    {"Label11", Kind::Label, "Frame3", 3000, 960, 975, 255, " 比 容  v=", 25},
    {"Text11", Kind::Text, "Frame3", 3960, 960, 975, 270, "Text11", 26},
    {"Label27", Kind::Label, "Frame3", 5040, 960, 615, 255, "m  /kg ", 46},
    {"Label28", Kind::Label, "Frame3", 5160, 960, 135, 135, "3", 47, 5.25},
    {"Label12", Kind::Label, "Frame3", 120, 1200, 1095, 375, "干球饱和水蒸汽分压力Pqb=", 27},
    {"Label13", Kind::Label, "Frame3", 2760, 1200, 1215, 375, "湿球饱和水蒸汽分压力Pqbs=", 29},
    {"Text12", Kind::Text, "Frame3", 1200, 1320, 975, 270, "Text12", 28},
    {"Label29", Kind::Label, "Frame3", 2280, 1320, 255, 255, "Pa", 48},
    {"Text14", Kind::Text, "Frame3", 3960, 1320, 975, 270, "Text14", 32},
    {"Label30", Kind::Label, "Frame3", 5040, 1320, 375, 255, "Pa", 49},
    {"Label15", Kind::Label, "Frame3", 3000, 1680, 855, 375, "水蒸汽分压力Pq=", 33},
    {"Label14", Kind::Label, "Frame3", 120, 1800, 1095, 255, "露点温度tl=", 31},
    {"Text13", Kind::Text, "Frame3", 1200, 1800, 975, 270, "Text13", 30},
    {"Label31", Kind::Label, "Frame3", 2280, 1800, 255, 255, "℃", 50},
    {"Text15", Kind::Text, "Frame3", 3960, 1800, 975, 270, "Text15", 34},
    {"Label32", Kind::Label, "Frame3", 5040, 1800, 375, 255, "Pa", 51},
};

// Units drawn as a label with a small "3" beside it: the unit label reads the
// whole unit and the "3" is left out of the reading.
struct CubedUnit {
    const char* unit;
    const char* superscript;
    const char* reading;
};

const CubedUnit kCubedUnits[] = {
    {"Label25", "Label26", "kg/m³"},
    {"Label27", "Label28", "m³/kg"},
};

// A box's caption as a screen reader says it before the unit: without the
// trailing "=", spaces trimmed and inner runs of spaces read as one
// (" 含湿量  d=" → "含湿量 d").
QString spokenCaption(const QString& caption)
{
    QString spoken = caption;
    if (spoken.endsWith(QLatin1Char('=')))
        spoken.chop(1);
    return spoken.simplified();
}

constexpr int kClientWidth = 6270;   // twips
constexpr int kClientHeight = 5070;  // twips

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(caption());
    setFont(songtiFont(9));
    setFixedSize(twipsSize(*this, kClientWidth, kClientHeight));
    buildControls();
}

QString Form1::caption()
{
    return QStringLiteral("Nimbara") + QString(16, QLatin1Char(' ')) + rightsNotice();
}

void Form1::buildControls()
{
    m_controls = BuildControls(this, kControls, [](QWidget* container) -> QRadioButton* {
        return new OptionButton(container);
    });
    nameForReading();

    for (int n = 1; n <= 15; ++n)
        m_text[n] = static_cast<QLineEdit*>(m_controls.value(QStringLiteral("Text%1").arg(n)));
    m_option1 = static_cast<OptionButton*>(m_controls.value(QStringLiteral("Option1")));
    m_option2 = static_cast<OptionButton*>(m_controls.value(QStringLiteral("Option2")));
    m_command1 = static_cast<QPushButton*>(m_controls.value(QStringLiteral("Command1")));
    auto* command2 = static_cast<QPushButton*>(m_controls.value(QStringLiteral("Command2")));
    auto* command3 = static_cast<QPushButton*>(m_controls.value(QStringLiteral("Command3")));

    // Enter in a box or on an option presses it (keyPressEvent below).
    makeDefaultButton(m_command1, this);

    connect(m_option1, &QAbstractButton::clicked, this, &Form1::Option1_Click);
    connect(m_option2, &QAbstractButton::clicked, this, &Form1::Option2_Click);
    connect(m_command1, &QAbstractButton::clicked, this, &Form1::Command1_Click);
    connect(command2, &QAbstractButton::clicked, this, &Form1::Command2_Click);
    connect(command3, &QAbstractButton::clicked, this, &Form1::Command3_Click);
}

void Form1::nameForReading()
{
    // Labels, buttons, options and frames are read by their captions, as the
    // toolkit names them; only what is drawn in pieces needs a name here.
    for (const CubedUnit& cubed : kCubedUnits) {
        control(QString::fromLatin1(cubed.unit))->setAccessibleName(QString::fromUtf8(cubed.reading));
        markDecorative(control(QString::fromLatin1(cubed.superscript)));
    }
    for (const BoxRow& row : kBoxes) {
        const auto* caption = static_cast<QLabel*>(control(QString::fromLatin1(row.caption)));
        const auto* unit = static_cast<QLabel*>(control(QString::fromLatin1(row.unit)));
        const QString unitText = unit->accessibleName().isEmpty() ? unit->text() : unit->accessibleName();
        control(QString::fromLatin1(row.name))
            ->setAccessibleName(spokenCaption(caption->text()) + QStringLiteral("，") + unitText);
    }
}

QLineEdit* Form1::box(int number) const
{
    return number >= 1 && number <= 15 ? m_text[number] : nullptr;
}

QString Form1::boxText(int number) const
{
    QLineEdit* edit = box(number);
    return edit ? edit->text() : QString();
}

void Form1::setBoxText(int number, const QString& text)
{
    if (QLineEdit* edit = box(number))
        edit->setText(text);
}

bool Form1::isOption1Selected() const { return m_option1->isChecked(); }
bool Form1::isOption2Selected() const { return m_option2->isChecked(); }

QWidget* Form1::control(const QString& name) const
{
    return m_controls.value(name);
}

void Form1::Option1_Click() { applyMode(true); }
void Form1::Option2_Click() { applyMode(false); }

void Form1::applyMode(bool psiKnown)
{
    const bool ts = !psiKnown;
    // Boxes first, their enabled state next, then the labels; a hidden box is
    // also disabled so that the focus order skips it.
    m_text[4]->setVisible(ts);
    m_text[5]->setVisible(psiKnown);
    m_text[6]->setVisible(psiKnown);
    m_text[7]->setVisible(ts);
    m_text[4]->setEnabled(ts);
    m_text[5]->setEnabled(psiKnown);
    m_text[6]->setEnabled(psiKnown);
    m_text[7]->setEnabled(ts);
    for (const char* name : {"Label4", "Label19", "Label7", "Label22"})
        m_controls.value(QString::fromLatin1(name))->setVisible(ts);
    for (const char* name : {"Label5", "Label20", "Label6", "Label21"})
        m_controls.value(QString::fromLatin1(name))->setVisible(psiKnown);
}

void Form1::Command1_Click()
{
    const bool psiKnown = m_option1->isChecked();
    if (!psiKnown && !m_option2->isChecked())
        return;

    CalcInputs inputs;
    inputs.B = m_text[1]->text().toStdString();
    inputs.upsilon = m_text[2]->text().toStdString();
    inputs.t = m_text[3]->text().toStdString();
    inputs.ts = m_text[4]->text().toStdString();
    inputs.psi = m_text[5]->text().toStdString();
    const InputMode mode = psiKnown ? InputMode::PsiKnown : InputMode::TsKnown;
    const CalcOutcome outcome = CalculateStatePoint(mode, inputs);

    switch (outcome.status) {
    case CalcStatus::Incomplete:
        ShowMessage(this, QString::fromUtf8(kIncompleteTitle), QString::fromUtf8(kIncompleteMessage));
        return;
    case CalcStatus::Failure:
        ShowMessage(this, QString::fromUtf8(kCalcInfoTitle), QString::fromStdString(FailureMessage(outcome.failure)));
        return;
    case CalcStatus::Ok:
        break;
    }

    m_statePoint = outcome.point;
    for (const QuantityText& result : outcome.results)
        setBoxText(BoxOf(result.quantity, mode), QString::fromStdString(result.text));
    emit calculated();
    // Only once every box holds its new text.
    if (outcome.dewPointOutOfRange)
        ShowMessage(this, QString::fromUtf8(kCalcInfoTitle), QString::fromUtf8(kDewPointMessage));
}

void Form1::Command2_Click()
{
    const auto text = [this](int n) { return boxText(n); };
    QStringList records;
    if (m_option1->isChecked())
        records << ComposeRecord(InputMode::PsiKnown, text, QDate::currentDate());
    if (m_option2->isChecked())
        records << ComposeRecord(InputMode::TsKnown, text, QDate::currentDate());
    emit recordsMade(records);
}

void Form1::Command3_Click()
{
    closeForm(this);
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    if (!pressOnEnter(m_command1, event))
        QWidget::keyPressEvent(event);
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_option1->isChecked() || m_option2->isChecked())
        return;
    // The first control in the focus order takes the focus and with it the
    // ψ-known mode. In a window that is not active the focus arrives only
    // later, so select the mode now all the same.
    m_option1->setFocus(Qt::OtherFocusReason);
    if (!m_option1->isChecked())
        m_option1->click();
}
