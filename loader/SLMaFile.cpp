#include "loader/SLMaFile.h"

SLMaFile::~SLMaFile() = default;
