// The Classes unit as one include: components, lists, string lists and streams.
#pragma once

#include "platform/vcl/Types.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/List.h"
#include "platform/vcl/StringList.h"
#include "platform/vcl/Streams.h"
