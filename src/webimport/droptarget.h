#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The logic of a drop target, free of any window system: the platform adapter (see
// webimport/qt) feeds it the enter/over/leave/drop callbacks and a data object that offers
// named formats as bytes; the target chooses the drop effect, decides when the window scrolls
// near its edges and fires its events.
namespace kovanta {

// Drop effects (bit values of the platform's drag-and-drop service).
inline constexpr std::uint32_t DROPEFFECT_NONE = 0;
inline constexpr std::uint32_t DROPEFFECT_COPY = 1;
inline constexpr std::uint32_t DROPEFFECT_MOVE = 2;
inline constexpr std::uint32_t DROPEFFECT_LINK = 4;
inline constexpr std::uint32_t DROPEFFECT_SCROLL = 0x80000000u;

// The drop effects a target allows: a set of dtCopy, dtMove, dtLink (same bits as above).
enum TDragType : unsigned { dtCopy = 1, dtMove = 2, dtLink = 4 };
using TDragTypes = unsigned;

// Keys held during the drag.
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

struct TPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TPoint&) const = default;
};

// Data entry descriptions as a data object enumerates them.
inline constexpr std::uint32_t DVASPECT_CONTENT = 1;
inline constexpr std::uint32_t TYMED_HGLOBAL = 1; // the in-memory medium the target asks for
inline constexpr std::uint32_t TYMED_FILE = 2;
inline constexpr std::uint32_t TYMED_ISTREAM = 4;

struct TFormatEntry {
    std::string format;
    bool hasTargetDevice = false;
    std::uint32_t aspect = DVASPECT_CONTENT;
    std::uint32_t media = TYMED_HGLOBAL; // set of TYMED_ bits
};

struct TDataDelivery {
    std::uint32_t medium = TYMED_HGLOBAL;
    std::string bytes;
};

// What is being dragged. Formats are named; their bytes follow the layouts documented with
// TDropURLTarget.
class IDropDataObject {
public:
    virtual ~IDropDataObject() = default;
    virtual std::vector<TFormatEntry> EnumFormats() const = 0;
    // The format's data, asked for in memory with the content aspect; nothing when the object
    // does not deliver it.
    virtual std::optional<TDataDelivery> GetData(const std::string& format) const = 0;
};

// A data object from a plain table, in insertion order; the adapter's and the tests' data.
class TDropDataMap : public IDropDataObject {
public:
    void Set(const std::string& format, std::string bytes, std::uint32_t medium = TYMED_HGLOBAL);
    // An entry that is enumerated with the given description but never delivered.
    void Announce(const TFormatEntry& entry);
    bool Has(const std::string& format) const;

    std::vector<TFormatEntry> EnumFormats() const override;
    std::optional<TDataDelivery> GetData(const std::string& format) const override;

private:
    struct Item {
        TFormatEntry entry;
        std::optional<TDataDelivery> data;
    };
    std::vector<Item> items_;
};

class TDropTarget;

// The window a target is registered on, as the target sees it. The adapter implements it.
class IDropWindow {
public:
    virtual ~IDropWindow() = default;
    virtual std::string Name() const = 0;
    virtual bool Exists() const { return true; }
    // Registers / revokes the window with the platform; false on failure.
    virtual bool AcceptDrops(TDropTarget& target) = 0;
    virtual bool RevokeDrops() = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual int FontHeight() const = 0; // may be negative; its absolute value is the margin
    virtual bool HasHorzScrollBar() const = 0;
    virtual bool HasVertScrollBar() const = 0;
    // Scrolls one line: dx/dy of -1 = left/up, +1 = right/down, 0 = not along that axis.
    virtual void ScrollLine(int dx, int dy) = 0;
    // The scroll timer: calls target.ScrollTimerTick() every intervalMs while running.
    virtual void StartScrollTimer(int intervalMs) = 0;
    virtual void StopScrollTimer() = 0;
    // The drag image is cosmetic; adapters may leave these empty.
    virtual void ShowDragImage(TPoint) {}
    virtual void MoveDragImage(TPoint) {}
    virtual void HideDragImage() {}
};

// Registration failures: "Failed to Register " / "Failed to Unregister " + window name.
class EDropTargetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TDropTarget {
public:
    static constexpr int kScrollIntervalMs = 100;

    // effect is in-out: the chosen effect, which the handler may change.
    using TDropTargetEvent = std::function<void(TDropTarget& sender, TShiftState shift,
                                                TPoint point, std::uint32_t& effect)>;
    using TNotifyEvent = std::function<void(TDropTarget& sender)>;

    TDropTarget() = default;
    virtual ~TDropTarget(); // unregisters; never throws
    TDropTarget(const TDropTarget&) = delete;
    TDropTarget& operator=(const TDropTarget&) = delete;

    TDragTypes Dragtypes = 0;
    bool GetDataOnEnter = false;
    bool ShowImage = true;
    TDropTargetEvent OnEnter;
    TDropTargetEvent OnDragOver;
    TNotifyEvent OnLeave;
    TDropTargetEvent OnDrop;
    TDropTargetEvent OnGetDropEffect; // replaces the built-in choice of effect

    // Registers `window` (not owned; must outlive the registration), unregistering a previous
    // one first. Raises EDropTargetError("Failed to Register " + name) on failure.
    void Register(IDropWindow& window);
    // Raises EDropTargetError("Failed to Unregister " + name) when revoking fails.
    void Unregister();
    IDropWindow* Window() const { return window_; }
    bool Dragging() const { return data_ != nullptr; }

    // Platform callbacks; points are in client coordinates of the registered window, `offered`
    // is the set of effects the drag source allows. Each returns the effect to show.
    std::uint32_t DragEnter(std::shared_ptr<const IDropDataObject> data, TShiftState shift,
                            TPoint point, std::uint32_t offered);
    std::uint32_t DragOver(TShiftState shift, TPoint point, std::uint32_t offered);
    void DragLeave();
    // `data` is the dropped object (the one of the drag when null).
    std::uint32_t Drop(std::shared_ptr<const IDropDataObject> data, TShiftState shift, TPoint point,
                       std::uint32_t offered);
    // One run of the scroll timer.
    void ScrollTimerTick();

    virtual std::uint32_t GetValidDropEffect(TShiftState shift, TPoint point,
                                             std::uint32_t offered);

protected:
    virtual void DoEnter(TShiftState shift, TPoint point, std::uint32_t& effect);
    virtual void DoDragOver(TShiftState shift, TPoint point, std::uint32_t& effect);
    virtual void DoDrop(TShiftState shift, TPoint point, std::uint32_t& effect);
    virtual void DoLeave();
    // Supplied by subclasses: read what they need from DataObject(); true when usable.
    virtual bool DoGetData() { return false; }
    virtual void ClearData() {}
    virtual bool HasValidFormats() { return false; }

    const IDropDataObject* DataObject() const { return data_.get(); }

private:
    bool scrollAllowed() const { return scrollDirections_ != 0; }

    IDropWindow* window_ = nullptr;
    std::shared_ptr<const IDropDataObject> data_;
    TPoint lastPoint_;
    int scrollMargin_ = 0;
    unsigned scrollDirections_ = 0; // 1 horizontal, 2 vertical
    bool timerRunning_ = false;
    bool dataFromEnter_ = false;
};

} // namespace kovanta
