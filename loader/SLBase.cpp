#include "loader/SLBase.h"

#include "loader/SLSink.h"

SLSink::~SLSink() = default;
SLBase::~SLBase() = default;
