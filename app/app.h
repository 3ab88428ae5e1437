#pragma once

#include "framework/application.h"

// The application object. It adds nothing to the framework's: the framework's
// defaults serve every application event, among them the report of
// exceptions that nobody handled.
class App : public fw::Application {};
