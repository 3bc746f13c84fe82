#include "loader/SLPlanFile.h"

SLPlanFile::~SLPlanFile() = default;
