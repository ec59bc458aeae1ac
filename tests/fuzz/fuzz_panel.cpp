// A hostile panel file: loaded, looked through and released; it never holds
// more pictures or buttons than the file has room for.
#include "engine/guilab.h"
#include "engine/panel_format.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    GUILab panel;
    panel.Load(fuzz::WriteFile("panel.gui", data, size).c_str());
    fuzz::Require(panel.textures.size() <= size / (PanelFile::kPictureHeaderBytes + PanelFile::kNameBytes) &&
                      panel.buttons.size() <= size / PanelFile::kButtonRecordBytes,
                  "more pictures or buttons than the file holds");
    GUILab::inputCaption(512, 512);
    for (int kind = 1; kind <= 3; ++kind)
        panel.Event(kind);
    return 0;
}
