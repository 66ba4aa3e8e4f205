// The one event dispatch, which shows every failure that escapes a handler, and the
// modal message boxes behind ShowMessage and the failure display. It depends on nothing
// but Qt and the exception class, so every control can raise its events through it.
#pragma once

#include "shell/Conversions.h"

#include <functional>
#include <string>

// Runs an event handler: any exception that escapes it is shown, and the loop goes on.
void Dispatch(const std::function<void()>& handler);

// Shows the exception being handled; call it only inside a catch block. The shell's
// Exception shows its message; anything else a Russian general message (with the meaning
// of a system error's number), so that no box is ever empty. Another exception's own text
// is English and goes to the standard error stream, never into the box.
void ShowCaughtFailure();

// Shows a failure's message (or a general one for an empty message) in a modal box titled with the program's name, with a check
// box «Больше не показывать это сообщение». At most one failure box is on screen: a
// failure raised while one is open waits in a queue (once, however often it is raised)
// and is shown when the open one is dismissed. A message whose box was closed with the
// check ticked is not shown again while the program runs.
void ShowFailure(const Exception& failure);

// Forgets the retired and the waiting failures, for a new application object.
void ResetFailureDisplay();

// A modal box with the text and an OK button; returns when the user dismisses it.
void ShowMessage(const std::string& text);
