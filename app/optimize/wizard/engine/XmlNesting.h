// The element nesting of an XML text, told without parsing it: the parser recurses once per level and would run
// out of stack on a text nested thousands deep.
#pragma once

namespace wizard_xml {

// True when no element of the text is nested deeper than maxDepth levels. Comments, CDATA sections, processing
// instructions, declarations and quoted attribute values are skipped; a text that ends inside one of them is
// left to the parser to refuse.
bool NestingWithin(const char* text, int maxDepth);

}  // namespace wizard_xml
