#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "loader/SLBase.h"

// A file that declares a run's models beside its log (a model file, a grid scenario), read in slices:
// open, readLines until it answers false, then finish, which hands the sink what the file declares.
// Nothing reaches the sink before finish, so a reading stopped early hands it nothing.
class SLDeclarationFile : public SLBase {
  public:
    explicit SLDeclarationFile(SLSink* sink) : SLBase(sink) {}
    ~SLDeclarationFile() override;

    // False, after a log line (getFailure), when the file cannot be opened or read at all.
    virtual bool open() = 0;
    // Reads at most `count` more lines; true while lines remain.
    virtual bool readLines(size_t count) = 0;
    virtual void finish() = 0;
    virtual long long linesRead() const = 0;
    virtual uint64_t bytesRead() const = 0;
    virtual uint64_t fileSize() const = 0;
    // The messages of what was skipped, as logged, and how much was skipped in all.
    virtual const std::vector<std::string>& getErrors() const = 0;
    virtual size_t getSkipped() const = 0;
    virtual const std::string& getFileName() const = 0;
    // How the file is named in messages: "Model file", "Scenario file".
    virtual const char* kind() const = 0;
};

// The reader for the declarations in `path`: a grid scenario when the file looks like one
// (SLScenarioFile::looksLike), a model file otherwise. Nothing is read here.
std::unique_ptr<SLDeclarationFile> openDeclarationFile(SLSink* sink, const std::string& path);
