// Text put into the XML files the pipeline writes for spumux and the authoring library.
#pragma once

#include "platform/vcl/System.h"

// The value with "&", "<", ">" and '"' written as entities, so that a path such as "A & B"
// reaches the reader as it is.
String XmlEscape(const String& Value);
