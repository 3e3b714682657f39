#pragma once

#include <string>
#include <string_view>

namespace vexa {

// Attribute values: & < > ' " are written as &amp; &lt; &gt; &apos; &quot;.
std::string EscapeXml(std::string_view value);
// The inverse for those five entities; any other "&" is kept as it stands.
std::string UnescapeXml(std::string_view value);

}  // namespace vexa
