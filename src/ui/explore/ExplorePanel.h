#pragma once

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;

// The column beside the explored map: the filter by hint, the switch to numbers, the chosen
// point's details (selectable, so they can be copied) and the points that have no place on
// the map, each of which shows its details when chosen. Only widgets: ExploreMode decides.
class ExplorePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidthTwips = 3600;

    // `hints`: the filter's choices after "すべて", in file order.
    explicit ExplorePanel(const QStringList& hints, QWidget* parent = nullptr);

    // The list of points without a place: each item's text and the row it stands for.
    void setOffMap(const QStringList& texts, const QList<int>& rows);
    void setDetails(const QString& text);

signals:
    // The hint chosen, or nothing for すべて.
    void hintChosen(std::optional<QString> hint);
    void numbersToggled(bool numbers);
    void offMapChosen(int row);

private:
    QComboBox* m_hints;
    QCheckBox* m_numbers;
    QPlainTextEdit* m_details;
    QLabel* m_offMapCaption;
    QListWidget* m_offMap;
};
