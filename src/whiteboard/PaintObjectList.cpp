#include "whiteboard/PaintObjectList.h"

#include <algorithm>
#include <limits>

#include "wire/Streams.h"

namespace veltrin::wb {

std::int32_t PaintObjectList::boardIndex() const {
    std::lock_guard lock(mutex_);
    return boardIndex_;
}

void PaintObjectList::setBoardIndex(std::int32_t boardIndex) {
    std::lock_guard lock(mutex_);
    boardIndex_ = boardIndex;
}

std::int32_t PaintObjectList::currentLocalId() const {
    std::lock_guard lock(mutex_);
    return currentLocalId_;
}

std::int32_t PaintObjectList::newObjectId() {
    std::lock_guard lock(mutex_);
    if (currentLocalId_ < std::numeric_limits<std::int32_t>::max()) ++currentLocalId_;
    return currentLocalId_;
}

void PaintObjectList::raiseLocked(std::int32_t localIndex) {
    if (localIndex >= currentLocalId_) {
        currentLocalId_ = localIndex < std::numeric_limits<std::int32_t>::max() ? localIndex + 1 : localIndex;
    }
}

void PaintObjectList::raiseCounterPast(std::int32_t localIndex) {
    std::lock_guard lock(mutex_);
    raiseLocked(localIndex);
}

PaintObjectPtr PaintObjectList::findLocked(std::int32_t userId, std::int32_t localIndex) const {
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        if ((*it)->FUserID == userId && (*it)->FObjectID == localIndex) return *it;
    }
    return nullptr;
}

std::vector<PaintObjectPtr>::iterator PaintObjectList::positionLocked(const TPaintObject* object) {
    return std::find_if(objects_.begin(), objects_.end(), [&](const PaintObjectPtr& p) { return p.get() == object; });
}

PaintObjectList::RemoteChange PaintObjectList::applyObjectUpdate(const TPaintObjectHeader& header,
                                                                 std::span<const std::uint8_t> body) {
    std::lock_guard lock(mutex_);
    switch (header.UpdateType) {
    case TPaintObjectHeader::kNewObject:
    case TPaintObjectHeader::kChangedObject: {
        MemoryInputStream in(body);
        if (PaintObjectPtr existing = findLocked(header.UserId, header.LocalIndex)) {
            existing->LoadFromStream(in);
            reshapedLocked();
            return RemoteChange::Updated;
        }
        auto object = std::make_shared<TPaintObject>(header.UserId, header.LocalIndex, boardIndex_);
        raiseLocked(header.LocalIndex);
        object->LoadFromStream(in);
        objects_.push_back(std::move(object));
        ++revision_;
        return RemoteChange::Added;
    }
    case TPaintObjectHeader::kDeletedObject: {
        PaintObjectPtr existing = findLocked(header.UserId, header.LocalIndex);
        if (!existing) return RemoteChange::None;
        objects_.erase(positionLocked(existing.get()));
        if (selected_ == existing) selected_.reset();
        reshapedLocked();
        return RemoteChange::Removed;
    }
    default:
        return RemoteChange::None;
    }
}

bool PaintObjectList::applyReorder(std::int32_t localIndex, std::int32_t position, std::int32_t ownerUid) {
    std::lock_guard lock(mutex_);
    PaintObjectPtr object = findLocked(ownerUid, localIndex);
    if (!object) return false;
    objects_.erase(positionLocked(object.get()));
    if (position < 0) {
        objects_.push_back(std::move(object));
    } else {
        objects_.insert(objects_.begin(), std::move(object));
    }
    reshapedLocked();
    return true;
}

void PaintObjectList::append(PaintObjectPtr object) {
    if (!object) return;
    std::lock_guard lock(mutex_);
    objects_.push_back(std::move(object));
    ++revision_;
}

bool PaintObjectList::remove(const TPaintObject* object) {
    std::lock_guard lock(mutex_);
    auto it = positionLocked(object);
    if (it == objects_.end()) return false;
    if (selected_.get() == object) selected_.reset();
    objects_.erase(it);
    reshapedLocked();
    return true;
}

bool PaintObjectList::moveToFront(const TPaintObject* object) {
    std::lock_guard lock(mutex_);
    auto it = positionLocked(object);
    if (it == objects_.end()) return false;
    std::rotate(it, it + 1, objects_.end());
    reshapedLocked();
    return true;
}

bool PaintObjectList::moveToBack(const TPaintObject* object) {
    std::lock_guard lock(mutex_);
    auto it = positionLocked(object);
    if (it == objects_.end()) return false;
    std::rotate(objects_.begin(), it, it + 1);
    reshapedLocked();
    return true;
}

void PaintObjectList::clear() {
    std::lock_guard lock(mutex_);
    objects_.clear();
    selected_.reset();
    reshapedLocked();
}

void PaintObjectList::replaceAll(std::vector<PaintObjectPtr> objects) {
    std::lock_guard lock(mutex_);
    objects_.clear();
    selected_.reset();
    for (PaintObjectPtr& object : objects) {
        if (!object) continue;
        raiseLocked(object->FObjectID);
        objects_.push_back(std::move(object));
    }
    reshapedLocked();
}

PaintObjectPtr PaintObjectList::find(std::int32_t userId, std::int32_t localIndex) const {
    std::lock_guard lock(mutex_);
    return findLocked(userId, localIndex);
}

PaintObjectPtr PaintObjectList::topmostAt(std::int32_t x, std::int32_t y, std::int32_t widen) const {
    std::lock_guard lock(mutex_);
    const std::int64_t px = x;
    const std::int64_t py = y;
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        const IntRect r = (*it)->normalizedRect();
        const std::int64_t left = static_cast<std::int64_t>(r.x) - widen;
        const std::int64_t top = static_cast<std::int64_t>(r.y) - widen;
        const std::int64_t right = static_cast<std::int64_t>(r.x) + r.width + widen;
        const std::int64_t bottom = static_cast<std::int64_t>(r.y) + r.height + widen;
        if (px >= left && px <= right && py >= top && py <= bottom) return *it;
    }
    return nullptr;
}

std::vector<PaintObjectPtr> PaintObjectList::objects() const {
    std::lock_guard lock(mutex_);
    return objects_;
}

std::size_t PaintObjectList::size() const {
    std::lock_guard lock(mutex_);
    return objects_.size();
}

void PaintObjectList::forEachObject(const std::function<void(const TPaintObject&)>& visit) const {
    std::lock_guard lock(mutex_);
    for (const PaintObjectPtr& object : objects_) visit(*object);
}

PaintObjectPtr PaintObjectList::selected() const {
    std::lock_guard lock(mutex_);
    return selected_;
}

void PaintObjectList::setSelected(PaintObjectPtr object) {
    std::lock_guard lock(mutex_);
    if (selected_ == object) return;
    selected_ = std::move(object);
    reshapedLocked();
}

std::uint64_t PaintObjectList::revision() const {
    std::lock_guard lock(mutex_);
    return revision_;
}

void PaintObjectList::forEachObjectFrom(std::size_t first,
                                         const std::function<void(const TPaintObject&)>& visit) const {
    std::lock_guard lock(mutex_);
    for (std::size_t i = first; i < objects_.size(); ++i) visit(*objects_[i]);
}

bool PaintObjectList::onlyAppendedSince(std::uint64_t revision) const {
    std::lock_guard lock(mutex_);
    return reshapedRevision_ <= revision && revision <= revision_;
}

void PaintObjectList::touch() {
    std::lock_guard lock(mutex_);
    reshapedLocked();
}

}  // namespace veltrin::wb
