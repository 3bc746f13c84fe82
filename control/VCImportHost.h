#pragma once

// What an import read in slices needs from the program's main loop. The program gives the controller one
// built on GLUT's timers; tests give it one they drive by hand.
class VCImportHost {
  public:
    virtual ~VCImportHost();
    // An import has begun and nothing of the file is read yet: from now on, call
    // VCSimulation::continueImport from the loop until it answers false.
    virtual void importStarted() = 0;
    // It has ended (read whole, failed or cancelled): the models, the events and the time cursor show
    // what was read. Called once per importStarted, from inside continueImport or cancelImport once the
    // controller is done with the import.
    virtual void importEnded() = 0;
};
