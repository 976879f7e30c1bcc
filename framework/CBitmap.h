// Icons and bitmaps are named by their resource ids; the toolkit backend draws them.
#pragma once
#include <cstdint>

using HICON = struct HICON__*;

inline HICON AfxLoadIcon(int id) { return reinterpret_cast<HICON>(static_cast<std::intptr_t>(id)); }
inline int AfxIconId(HICON h) { return static_cast<int>(reinterpret_cast<std::intptr_t>(h)); }

class CBitmap {
public:
    bool LoadBitmap(int id) {
        m_id = id;
        return true;
    }
    void DeleteObject() { m_id = 0; }
    int GetResourceId() const { return m_id; }

private:
    int m_id = 0;
};
