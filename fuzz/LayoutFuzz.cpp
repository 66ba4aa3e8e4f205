// Fuzzes the layout loader: arbitrary text applied as a layout to the probe window of the
// shell's tests. It either builds the window, which is then shown and closed, or raises
// Exception naming the layout.
#include "fuzz/FuzzSupport.h"

#include "shell/Conversions.h"
#include "tests/shell/ProbeForm.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartApplication();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<TProbeForm> form;
    try {
        form = std::make_unique<TProbeForm>("probe/Fuzz.json", text);
    } catch (const Exception& failure) {
        if (failure.Message().rfind("Макет «probe/Fuzz.json»", 0) != 0)
            std::abort(); // every layout failure names the layout
        return 0;
    }
    form->Show();
    QApplication::processEvents();
    form->Close();
    QApplication::processEvents();
    return 0;
}
