#pragma once

#include <QObject>
#include <QRect>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class QWidget;

namespace kovanta {

class SettingsStore;

// Keeps a window's position, size and maximised state, plus up to 20 extra integers, in the
// settings store under "Software\<program>\<window name up to its first '_'>":
// "Left", "Top", "Width", "Height" (pixels, the normal geometry also while maximised),
// "Maximized" (1/0), "SaveIntMax" (how many extra values are stored, at most 20) and
// "SaveInt1".."SaveInt20".
//
// The saver watches the window's events: on the first show it restores position, size and
// maximised state before the window's own show handling runs; on close it writes all values.
// A stored position that lies on no screen any more is not applied (the size still is), so a
// window never opens out of reach.
class TFormPosSaver : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxExtra = 20;

    // form must outlive the saver (make the saver its child); store null means the default
    // settings store. The stored values are read here.
    TFormPosSaver(QWidget* form, const QString& programName, SettingsStore* store = nullptr);
    ~TFormPosSaver() override;

    // The store key, e.g. "Software\kovanta\SDIAppForm".
    QString key() const { return key_; }

    // Open the window maximised on restore, whatever was stored ("MaxWindow").
    void setOpenMaximized(bool on) { openMaximized_ = on; }

    // The extra value index (1..20) when stored (index <= "SaveIntMax" and the value present),
    // else def; then clamped to [min, max], where a bound of 0 means none. An index below
    // "SaveIntMax" that was never set is not stored and gives def, not 0.
    int GetValue(int index, int def, int min, int max) const;

    // Sets extra value index (1..20; others are ignored), raises "SaveIntMax" to index when it
    // is smaller, and writes all values at once.
    void SetValue(int index, int value);

    // Applies the stored geometry to the window (called on the first show).
    void restore();
    // Writes every value (called on close).
    void save();

    // The geometry that restore() applies for the stored values and the available screen
    // areas; exposed for tests. An empty stored size keeps the window's own size.
    static QRect placedGeometry(const QRect& stored, const QRect& current,
                                const QList<QRect>& screens);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();

    QWidget* form_;
    SettingsStore* store_; // the caller's store, or ownedStore_
    std::unique_ptr<SettingsStore> ownedStore_;
    QString key_;
    QRect stored_;
    bool storedMaximized_ = false;
    bool openMaximized_ = false;
    bool restored_ = false;
    int extraCount_ = 0;
    // Values never set stay unset, so they give the caller's default rather than 0.
    std::array<std::optional<int>, kMaxExtra> extra_{};
};

} // namespace kovanta
