#include "droptarget.h"

#include <algorithm>
#include <cstdlib>

namespace kovanta {

void TDropDataMap::Set(const std::string& format, std::string bytes, std::uint32_t medium)
{
    for (Item& item : items_) {
        if (item.entry.format == format) {
            item.entry.media = medium;
            item.data = TDataDelivery{medium, std::move(bytes)};
            return;
        }
    }
    items_.push_back({TFormatEntry{format, false, DVASPECT_CONTENT, medium},
                      TDataDelivery{medium, std::move(bytes)}});
}

void TDropDataMap::Announce(const TFormatEntry& entry)
{
    items_.push_back({entry, std::nullopt});
}

bool TDropDataMap::Has(const std::string& format) const
{
    return std::any_of(items_.begin(), items_.end(),
                       [&](const Item& i) { return i.entry.format == format && i.data; });
}

std::vector<TFormatEntry> TDropDataMap::EnumFormats() const
{
    std::vector<TFormatEntry> out;
    for (const Item& item : items_)
        out.push_back(item.entry);
    return out;
}

std::optional<TDataDelivery> TDropDataMap::GetData(const std::string& format) const
{
    for (const Item& item : items_)
        if (item.entry.format == format && item.data)
            return item.data;
    return std::nullopt;
}

// ---- TDropTarget ------------------------------------------------------------------------

TDropTarget::~TDropTarget()
{
    try {
        Unregister();
    } catch (const EDropTargetError&) {
        // Nothing sensible is left to do while the target goes away.
    }
}

void TDropTarget::Register(IDropWindow& window)
{
    if (window_)
        Unregister();
    if (!window.AcceptDrops(*this))
        throw EDropTargetError("Failed to Register " + window.Name());
    window_ = &window;
}

void TDropTarget::Unregister()
{
    IDropWindow* window = window_;
    if (!window)
        return;
    window_ = nullptr;
    if (timerRunning_) {
        window->StopScrollTimer();
        timerRunning_ = false;
    }
    data_.reset();
    if (window->Exists() && !window->RevokeDrops())
        throw EDropTargetError("Failed to Unregister " + window->Name());
}

std::uint32_t TDropTarget::DragEnter(std::shared_ptr<const IDropDataObject> data, TShiftState shift,
                                     TPoint point, std::uint32_t offered)
{
    ClearData();
    data_ = std::move(data);
    dataFromEnter_ = false;
    lastPoint_ = point;
    if (ShowImage && window_)
        window_->ShowDragImage(point);
    if (!data_ || !HasValidFormats()) {
        data_.reset();
        return DROPEFFECT_NONE;
    }
    scrollMargin_ = window_ ? std::abs(window_->FontHeight()) : 0;
    scrollDirections_ = 0;
    if (window_ && window_->HasHorzScrollBar())
        scrollDirections_ |= 1;
    if (window_ && window_->HasVertScrollBar())
        scrollDirections_ |= 2;
    if (GetDataOnEnter)
        dataFromEnter_ = DoGetData();
    std::uint32_t effect = GetValidDropEffect(shift, point, offered);
    DoEnter(shift, point, effect);
    return effect;
}

std::uint32_t TDropTarget::DragOver(TShiftState shift, TPoint point, std::uint32_t offered)
{
    if (!data_)
        return DROPEFFECT_NONE;
    std::uint32_t effect = GetValidDropEffect(shift, point, offered);
    DoDragOver(shift, point, effect);
    if (window_) {
        const bool scroll = scrollAllowed() && (effect & DROPEFFECT_SCROLL) != 0;
        if (scroll && !timerRunning_)
            window_->StartScrollTimer(kScrollIntervalMs);
        else if (!scroll && timerRunning_)
            window_->StopScrollTimer();
        timerRunning_ = scroll;
        if (ShowImage && !(point == lastPoint_))
            window_->MoveDragImage(point);
    }
    lastPoint_ = point;
    return effect;
}

void TDropTarget::DragLeave()
{
    ClearData();
    if (timerRunning_ && window_)
        window_->StopScrollTimer();
    timerRunning_ = false;
    data_.reset();
    if (ShowImage && window_)
        window_->HideDragImage();
    DoLeave();
}

std::uint32_t TDropTarget::Drop(std::shared_ptr<const IDropDataObject> data, TShiftState shift,
                                TPoint point, std::uint32_t offered)
{
    if (!data_)
        return DROPEFFECT_NONE;
    if (data)
        data_ = std::move(data);
    if (timerRunning_ && window_)
        window_->StopScrollTimer();
    timerRunning_ = false;
    if (ShowImage && window_)
        window_->HideDragImage();
    lastPoint_ = point;
    std::uint32_t effect = GetValidDropEffect(shift, point, offered);
    const bool haveData = GetDataOnEnter ? dataFromEnter_ : DoGetData();
    if (haveData)
        DoDrop(shift, point, effect);
    else
        effect = DROPEFFECT_NONE;
    ClearData();
    data_.reset();
    return effect;
}

void TDropTarget::ScrollTimerTick()
{
    if (!window_ || !timerRunning_)
        return;
    if (ShowImage)
        window_->HideDragImage();
    int dx = 0;
    int dy = 0;
    if (scrollDirections_ & 2) {
        if (lastPoint_.y < scrollMargin_)
            dy = -1;
        else if (lastPoint_.y > window_->ClientHeight() - scrollMargin_)
            dy = 1;
    }
    if (scrollDirections_ & 1) {
        if (lastPoint_.x < scrollMargin_)
            dx = -1;
        else if (lastPoint_.x > window_->ClientWidth() - scrollMargin_)
            dx = 1;
    }
    if (dx != 0 || dy != 0)
        window_->ScrollLine(dx, dy);
    if (ShowImage)
        window_->ShowDragImage(lastPoint_);
}

std::uint32_t TDropTarget::GetValidDropEffect(TShiftState shift, TPoint point,
                                              std::uint32_t offered)
{
    const std::uint32_t allowed = offered & Dragtypes & (dtCopy | dtMove | dtLink);
    if (OnGetDropEffect) {
        std::uint32_t effect = allowed;
        OnGetDropEffect(*this, shift, point, effect);
        return effect;
    }
    const bool shiftKey = (shift & ssShift) != 0;
    const bool ctrlKey = (shift & ssCtrl) != 0;
    std::uint32_t effect = DROPEFFECT_NONE;
    if (shiftKey && ctrlKey && (allowed & DROPEFFECT_LINK))
        effect = DROPEFFECT_LINK;
    else if (shiftKey && !ctrlKey && (allowed & DROPEFFECT_MOVE))
        effect = DROPEFFECT_MOVE;
    else if (allowed & DROPEFFECT_COPY)
        effect = DROPEFFECT_COPY;
    else if (allowed & DROPEFFECT_MOVE)
        effect = DROPEFFECT_MOVE;
    else if (allowed & DROPEFFECT_LINK)
        effect = DROPEFFECT_LINK;
    if (window_) {
        if ((scrollDirections_ & 1) &&
            (point.x < scrollMargin_ || point.x > window_->ClientWidth() - scrollMargin_))
            effect |= DROPEFFECT_SCROLL;
        if ((scrollDirections_ & 2) &&
            (point.y < scrollMargin_ || point.y > window_->ClientHeight() - scrollMargin_))
            effect |= DROPEFFECT_SCROLL;
    }
    return effect;
}

void TDropTarget::DoEnter(TShiftState shift, TPoint point, std::uint32_t& effect)
{
    if (OnEnter)
        OnEnter(*this, shift, point, effect);
}

void TDropTarget::DoDragOver(TShiftState shift, TPoint point, std::uint32_t& effect)
{
    if (OnDragOver)
        OnDragOver(*this, shift, point, effect);
}

void TDropTarget::DoDrop(TShiftState shift, TPoint point, std::uint32_t& effect)
{
    if (OnDrop)
        OnDrop(*this, shift, point, effect);
}

void TDropTarget::DoLeave()
{
    if (OnLeave)
        OnLeave(*this);
}

} // namespace kovanta
