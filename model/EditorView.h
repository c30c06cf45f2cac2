#pragma once
// What the test condition editor shows, as plain data: the projection of an EditorState. Every
// list, selection, enabled and checked box, label, field text and note of the editor, its six
// output pages and its two value panels, and the messages the OK check would give. The windows
// render exactly this and nothing else; tests read it without a window.

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

#include "EditorState.h"

namespace zeb {

// A combo box: its items in order and the selected one (-1: none).
struct ComboView {
    ChoiceList items;
    int current = -1;
    bool visible = true;
    // Code of the selected item, `fallback` while none is selected.
    int32_t CurrentCode(int32_t fallback = -1) const;
};

struct BoxView {
    QString text;
    bool visible = true;
    bool enabled = false;
    bool checked = false;
};

struct FieldView {
    QString text;
    bool enabled = true;
};

// A value panel: the selected tab (type 0..2, -1 none), the page under it, its fields and the
// list rows' flags.
struct ValuePanelView {
    int tab = -1;
    ValuePage page = ValuePage::None;
    QString unit;
    bool inputsEnabled = true;  // the tabs stay usable either way
    FieldView fixed;
    std::array<FieldView, 3> sweep;  // start, end, step
    std::array<FieldView, kValueRows> list;
    std::array<bool, kValueRows> use{};
    std::array<bool, kValueRows> common{};
};

struct OutputPageView {
    ComboView waveform;
    bool waveformText = false;  // the fixed text "1.2 / 50" is shown instead of the combo
    ComboView ring;             // visible only with the RING waveform
    ComboView detail;
    QString detailText;  // the one line configuration of a page without a choice
    ComboView coupling;
    std::vector<BoxView> lines;  // one per line bit of the page, empty where it has none
    bool sync = false;           // AC: SYNC checked (ASYNC otherwise)
    ValuePanelView angle;        // AC
};

constexpr int kOutputPageCount = 7;  // indexed by OutputPage

struct EditorView {
    int polarity = -1;  // radio 0 "+", 1 "-", 2 "+/-"; -1 none
    FieldView count;
    FieldView interval;
    QStringList intervalNotes;
    QString edition3Note;
    ValuePanelView voltage;
    ComboView port;
    OutputPage page = OutputPage::None;
    std::array<OutputPageView, kOutputPageCount> pages;  // every page, shown or not
    OkCheckResult ok;                                    // what OK would say now
};

EditorView Project(const EditorState& state);

// Labels of the line boxes; the AC single-phase configurations 0 and 1 rename four of them.
QString AcLineLabel(int bit, int32_t detail);
QString DcLineLabel(int bit);
QString TelecomLineLabel(int bit);

}  // namespace zeb
