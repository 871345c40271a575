#pragma once
// How text reaches Flite. Its English front end reads plain ASCII: letters lose their accents,
// typographic punctuation becomes its ASCII form, a few symbols become their words, and every
// other character becomes a space, so that nothing unpronounceable is spelt out byte by byte.
#include "platform/text.h"

namespace parlino::platform::linux_impl {

Text FliteText(TextView text);

}  // namespace parlino::platform::linux_impl
