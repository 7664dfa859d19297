#pragma once
// Everything a view test stands on: a temporary program folder with its data folder, a
// fresh site database on app().conn, the scripted prompter and fake panes. Windows left
// loaded are unloaded when it goes.
#include "fakepane.h"
#include "fakeprompter.h"
#include "testenv.h"

class ViewSite {
public:
    ViewSite();
    ~ViewSite();
    ViewSite(const ViewSite &) = delete;
    ViewSite &operator=(const ViewSite &) = delete;

    testenv::ProgramFolder prog;
    FakePrompter prompts;
    FakePaneFactory panes;
};
