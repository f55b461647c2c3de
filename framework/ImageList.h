#pragma once
// An owned image list: destroyed with its owner, or when another list takes
// its place.

#include "framework/CommonControls.h"
#include "framework/UniqueHandle.h"

#include <commctrl.h>

#include <map>

namespace fw {

using UniqueImageList = UniqueHandle<HandleTraits<HIMAGELIST, nullptr, ::ImageList_Destroy>>;

class ImageList {
public:
    bool Create(int width, int height, UINT flags, int initial, int grow) {
        m_list.reset(::ImageList_Create(width, height, flags, initial, grow));
        return static_cast<bool>(m_list);
    }

    HIMAGELIST Get() const { return m_list.get(); }
    int Count() const { return m_list ? ::ImageList_GetImageCount(m_list.get()) : 0; }

    void SetBkColor(COLORREF color) const { ::ImageList_SetBkColor(m_list.get(), color); }

    // Appends the bitmap cut into images of the list's width; the first new
    // index, or -1.
    int AddMasked(HBITMAP bitmap, COLORREF mask) const { return ::ImageList_AddMasked(m_list.get(), bitmap, mask); }

    // Appends a copy of the icon (index -1) or overwrites an image with it;
    // the index written, or -1.
    int ReplaceIcon(int index, HICON icon) const {
        return icon ? ::ImageList_ReplaceIcon(m_list.get(), index, icon) : -1;
    }
    int AddIcon(HICON icon) const { return ReplaceIcon(-1, icon); }

    // Takes one image out; the later ones move down by one index.
    bool Remove(int index) const { return ::ImageList_Remove(m_list.get(), index) != FALSE; }

    // Whether Copy and SetCount work here (common controls 4.70 and later).
    static bool CanMoveImages() { return SystemImageListMoves().Available(); }

    // Copies one image over another of the same list.
    bool Copy(int target, int source) const {
        const auto copy = SystemImageListMoves().copy;
        return copy && copy(m_list.get(), target, m_list.get(), source, ILCF_MOVE) != FALSE;
    }

    // Cuts the list after `count` images, or grows it by blank images.
    bool SetCount(int count) const {
        const auto setImageCount = SystemImageListMoves().setImageCount;
        return m_list && setImageCount && setImageCount(m_list.get(), static_cast<UINT>(count)) != FALSE;
    }

private:
    UniqueImageList m_list;
};

// Appends up to a known number of icons with one growth of the list. A list
// grows by a fixed step and copies all its images at every step, so a long
// run of single appends is quadratic. The room is made first, each icon then
// takes the next place (an icon the list refuses takes none, as with a single
// append), and whatever room is left over is cut off at the end.
// Icons given with a key that names their picture are drawn into the list
// once; later ones of that key copy the image already there, a plain blit
// where drawing an icon costs far more.
class IconAppender {
public:
    IconAppender(const ImageList& list, size_t most) : m_list(list), m_next(list.Count()) {
        if (most > 0 && m_list.SetCount(m_next + static_cast<int>(most))) m_room = static_cast<int>(most);
    }
    ~IconAppender() {
        if (m_room > 0) m_list.SetCount(m_next);
    }
    IconAppender(const IconAppender&) = delete;
    IconAppender& operator=(const IconAppender&) = delete;

    // The icon's index in the list, or -1.
    int Append(HICON icon) {
        if (m_room == 0) return m_list.AddIcon(icon);
        if (m_list.ReplaceIcon(m_next, icon) < 0) return -1;
        return TakePlace();
    }

    // As above, for an icon whose picture is the same as that of every
    // other icon of the same key appended here.
    int Append(HICON icon, int key) {
        if (!icon) return -1;
        const auto drawn = m_drawn.find(key);
        if (drawn != m_drawn.end() && m_room > 0 && m_list.Copy(m_next, drawn->second)) return TakePlace();
        const int index = Append(icon);
        if (index >= 0) m_drawn.emplace(key, index);
        return index;
    }

private:
    // The next place of the room made, now filled.
    int TakePlace() {
        --m_room;
        return m_next++;
    }

    const ImageList& m_list;
    int m_next;
    int m_room = 0;
    std::map<int, int> m_drawn;  // key to the index of its picture's first copy
};

}  // namespace fw
