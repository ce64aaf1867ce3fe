#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "whiteboard/TPaintObject.h"
#include "wire/PaintObjectHeader.h"

namespace veltrin::wb {

using PaintObjectPtr = std::shared_ptr<TPaintObject>;

// The ordered objects of the board a canvas shows (first = bottom), the canvas's local object
// counter and its selection. Every access goes through the one lock, because remote objects may be
// added from the connection's reader thread while the main thread draws. Callbacks given to
// forEachObject run under the lock and must not call back into the list.
class PaintObjectList {
public:
    enum class RemoteChange { None, Added, Updated, Removed };

    explicit PaintObjectList(std::int32_t boardIndex = 0) : boardIndex_(boardIndex) {}

    std::int32_t boardIndex() const;
    void setBoardIndex(std::int32_t boardIndex);

    // ---- identity
    std::int32_t currentLocalId() const;
    // The id of the next local object: the counter is raised first, so the first object is 1.
    std::int32_t newObjectId();
    // An object arrived with `localIndex`: the counter goes past it whoever created it.
    void raiseCounterPast(std::int32_t localIndex);

    // ---- remote changes (the header's board is assumed to be this one)
    // Types 0 and 1 read `body` into the object found by (UserId, LocalIndex), or into a new one
    // appended on top; type 2 removes the object (and the selection if it was selected).
    RemoteChange applyObjectUpdate(const TPaintObjectHeader& header, std::span<const std::uint8_t> body);
    // Negative positions bring the object to the front, any other to the back. False when the
    // object is unknown.
    bool applyReorder(std::int32_t localIndex, std::int32_t position, std::int32_t ownerUid);

    // ---- local changes
    void append(PaintObjectPtr object);
    // Removes the object (clearing the selection if it was selected); false when it is not listed.
    bool remove(const TPaintObject* object);
    bool moveToFront(const TPaintObject* object);
    bool moveToBack(const TPaintObject* object);
    // Drops every object and the selection.
    void clear();
    // Replaces the content (a board loaded from a snapshot), raising the counter past each object.
    void replaceAll(std::vector<PaintObjectPtr> objects);

    // ---- lookup
    PaintObjectPtr find(std::int32_t userId, std::int32_t localIndex) const;
    // Topmost object whose normalised rectangle, widened by `widen` on every side, contains (x, y).
    PaintObjectPtr topmostAt(std::int32_t x, std::int32_t y, std::int32_t widen) const;
    std::vector<PaintObjectPtr> objects() const;
    std::size_t size() const;
    void forEachObject(const std::function<void(const TPaintObject&)>& visit) const;
    // Visits the objects from position `first` on (the ones appended after a picture was made).
    void forEachObjectFrom(std::size_t first, const std::function<void(const TPaintObject&)>& visit) const;

    // ---- selection
    PaintObjectPtr selected() const;
    void setSelected(PaintObjectPtr object);

    // Increases with every change of the list, its objects (see touch) or the selection, so that a
    // cached picture of the board knows when it is stale.
    std::uint64_t revision() const;
    // Called after an object of the list was changed in place (moved, resized, retyped).
    void touch();
    // True when every change since `revision` only appended objects on top, so a picture made at
    // that revision stays right once the new objects are drawn over it.
    bool onlyAppendedSince(std::uint64_t revision) const;

private:
    PaintObjectPtr findLocked(std::int32_t userId, std::int32_t localIndex) const;
    std::vector<PaintObjectPtr>::iterator positionLocked(const TPaintObject* object);
    void raiseLocked(std::int32_t localIndex);
    void reshapedLocked() { reshapedRevision_ = ++revision_; }

    mutable std::mutex mutex_;
    std::int32_t boardIndex_;
    std::int32_t currentLocalId_ = 0;
    std::vector<PaintObjectPtr> objects_;
    PaintObjectPtr selected_;
    std::uint64_t revision_ = 0;
    // The revision of the last change that was not an append on top.
    std::uint64_t reshapedRevision_ = 0;
};

}  // namespace veltrin::wb
