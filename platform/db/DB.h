// The data-binding classes as one include: data sets, fields, data sources and data links.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
