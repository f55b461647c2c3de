#include "framework/Window.h"

#include "framework/BoundControls.h"

namespace fw {

Window::~Window() {
    if (m_boundTo) m_boundTo->Remove(*this);
}

}  // namespace fw
