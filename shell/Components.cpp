// Raising events: every handler call goes through the event dispatch, which shows what
// it throws.
#include "shell/Components.h"

#include "shell/Messages.h"

void Fire(const TNotifyEvent& event, TObject* sender)
{
    if (event)
        Dispatch([&] { event(sender); });
}
