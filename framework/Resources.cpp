// Registries for the resources the UI defines as data.
#include <map>

#include "framework/DialogWindow.h"

namespace {
std::map<int, const DialogTemplate*>& Templates() {
    static std::map<int, const DialogTemplate*> templates;
    return templates;
}
std::map<int, CString>& Strings() {
    static std::map<int, CString> strings;
    return strings;
}
}  // namespace

const DialogTemplate* AfxFindDialogTemplate(int id) {
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : it->second;
}

void AfxRegisterDialogTemplate(const DialogTemplate* tmpl) { Templates()[tmpl->id] = tmpl; }

CString AfxLoadString(int id) {
    auto it = Strings().find(id);
    return it == Strings().end() ? CString() : it->second;
}

void AfxRegisterString(int id, const char* text) { Strings()[id] = text; }
