// Handles of the layer are keys into one table, never addresses: a stale or
// made-up handle finds nothing and the call fails with ERROR_INVALID_HANDLE.
// Keys are never reused, so a closed handle cannot name a later object.
#pragma once

#include <memory>

#include "platform/win32_types.h"

namespace kvplatform {

// Anything a handle can name.
class HandleObject {
public:
    virtual ~HandleObject() = default;
};

// Objects that CloseHandle closes (files, threads, events); find handles and
// registry keys have their own closing functions.
class KernelObject : public HandleObject {};

void SetInvalidHandleError();

HANDLE AddHandle(std::shared_ptr<HandleObject> object);

std::shared_ptr<HandleObject> FindHandleObject(HANDLE handle);

// Removes the entry when it names an object of the given kind.
bool RemoveHandleOfKind(HANDLE handle, bool (*isKind)(const HandleObject&));

// The object of kind T behind a handle; empty (with ERROR_INVALID_HANDLE set)
// when the handle is unknown or names another kind.
template <class T>
std::shared_ptr<T> LookupHandle(HANDLE handle) {
    std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(FindHandleObject(handle));
    if (!object) {
        SetInvalidHandleError();
    }
    return object;
}

// Closes a handle of kind T; false (with ERROR_INVALID_HANDLE set) otherwise.
template <class T>
bool CloseHandleOfKind(HANDLE handle) {
    const bool removed = RemoveHandleOfKind(handle, [](const HandleObject& object) {
        return dynamic_cast<const T*>(&object) != nullptr;
    });
    if (!removed) {
        SetInvalidHandleError();
    }
    return removed;
}

}  // namespace kvplatform
