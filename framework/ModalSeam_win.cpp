#include "framework/ModalSeam.h"

namespace {

// One user-interface thread: no lock. The answerer is a test fixture.
ModalAnswerer& Answerer() {
    static ModalAnswerer answerer;
    return answerer;
}

}  // namespace

ModalAnswerer SetModalAnswerer(ModalAnswerer answerer) {
    ModalAnswerer previous = std::move(Answerer());
    Answerer() = std::move(answerer);
    return previous;
}

bool HasModalAnswerer() { return static_cast<bool>(Answerer()); }

int AnswerModal(const ModalInteraction& interaction) { return Answerer()(interaction); }

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    if (HasModalAnswerer()) {
        ModalInteraction m;
        m.kind = ModalKind::messageBox;
        m.caption = caption;
        m.text = text;
        m.type = type;
        return AnswerModal(m);
    }
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}
