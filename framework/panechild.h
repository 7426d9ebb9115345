#pragma once

#include <cstdint>
#include <memory>

class Window;

// What a non-visual control placed on a window tells the framework: the
// window it sits on and its control index.
class PaneChild {
public:
    virtual ~PaneChild() = default;
    virtual void SetWindow(const std::shared_ptr<::Window>& window) = 0;
    virtual std::shared_ptr<::Window> Window() const = 0;
    virtual int64_t Index() const = 0;
    virtual void SetIndex(int64_t index) = 0;
};
