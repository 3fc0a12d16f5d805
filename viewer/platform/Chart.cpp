#include "platform/Chart.h"

Chart::~Chart() = default;
