// What the simulation run tells the shell, which owns the settings file and the program's end.
// The shell gives the run its reports before the simulation thread starts; they are called on
// the simulation thread and must not wait for the window thread.
#pragma once

class RunReports {
  public:
    // The field is now the picture `name` (kBuiltInBackground for the built-in one): a drop or a
    // reset was loaded, or an unreadable picture named by the settings was replaced at the start.
    virtual void BackgroundReplaced(const char* name) = 0;
    // The run ended by itself (Escape, or every ant happy) and the program is to end; not called
    // when the user's Exit ended it.
    virtual void RunEnded() = 0;

  protected:
    RunReports() = default;
    ~RunReports() = default;
    RunReports(const RunReports&) = default;
    RunReports& operator=(const RunReports&) = default;
};
