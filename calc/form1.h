// The calculation window (`Form1`): the known values in, the state point out, a record to the notebook.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>

#include "statepoint.h"

class QLineEdit;
class QPushButton;
class OptionButton;

// The calculation window: the user picks which humidity quantity is known,
// types the known values, calculates and reads the state point.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    // "Nimbara", sixteen spaces, then the rights notice.
    static QString caption();

    // The boxes Text1 … Text15 by number; nullptr / empty for other numbers.
    QLineEdit* box(int number) const;
    QString boxText(int number) const;
    void setBoxText(int number, const QString& text);

    // Option1 selected: the ψ-known mode; Option2 selected: the ts-known mode.
    bool isOption1Selected() const;
    bool isOption2Selected() const;

    // Any control of the window by its name ("Text8", "Label26", "Command2" …).
    QWidget* control(const QString& name) const;

    // The state point of the last completed calculation; empty before one.
    const std::optional<StatePoint>& statePoint() const { return m_statePoint; }

signals:
    // The record button was pressed: the notebook (which the main window
    // owns) comes to the front, then takes the records in order; none when
    // no mode is selected.
    void recordsMade(const QStringList& records);
    // 计 算 completed: statePoint() and the boxes hold the new state point.
    void calculated();

public slots:
    void Option1_Click();   // apply the ψ-known mode
    void Option2_Click();   // apply the ts-known mode
    void Command1_Click();  // calculate
    void Command2_Click();  // record the values on screen into the notebook
    void Command3_Click();  // close the window

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void nameForReading();
    void applyMode(bool psiKnown);

    QHash<QString, QWidget*> m_controls;
    std::array<QLineEdit*, 16> m_text{};  // index 1 … 15
    OptionButton* m_option1 = nullptr;
    OptionButton* m_option2 = nullptr;
    QPushButton* m_command1 = nullptr;
    std::optional<StatePoint> m_statePoint;
};
