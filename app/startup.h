#pragma once

// Runs the whole program: starts the runtime, declares the document type,
// creates the application object with its menu bar and opens the main
// window, runs the event loop until the application quits, releases what the
// program holds and returns the process's exit status.
int RunKelvara(int& argc, char** argv);

// The start-up routine that the framework calls back while it initialises,
// and its steps, in the order it runs them.
void _Startup();
void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _MakeDefaultView();
