#include "host/StateBlock.h"

#include "host/StrictNumber.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace StateBlock
{
namespace
{
const juce::Identifier tagName ("MYPLUGINSETTINGS");
const juce::Identifier programAttribute ("current_program");
constexpr juce::uint32 xmlMagic = 0x21324356;
constexpr int numPrograms = 10;

std::optional<int> parseProgramIndex (const juce::String& text)
{
    const auto value = StrictNumber::parseInteger (text);
    if (! value || *value < 0 || *value >= numPrograms)
        return std::nullopt;
    return value;
}
} // namespace

void write (const ParameterStore& values, int currentProgram, juce::MemoryBlock& destination)
{
    juce::XmlElement xml (tagName);
    for (int i = 0; i < values.size(); ++i)
        xml.setAttribute (values.getName (i), values.getValue (i));
    xml.setAttribute (programAttribute, currentProgram);
    juce::AudioProcessor::copyXmlToBinary (xml, destination);
}

std::optional<Contents> read (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes < 9)
        return std::nullopt;

    const auto* bytes = static_cast<const char*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != xmlMagic)
        return std::nullopt;

    const auto textLength = (juce::int64) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (textLength <= 0 || textLength > (juce::int64) sizeInBytes - 8)
        return std::nullopt;

    const auto text = juce::String::fromUTF8 (bytes + 8, (int) textLength);
    const auto xml = juce::parseXML (text);
    if (xml == nullptr || ! xml->hasTagName (tagName.toString()))
        return std::nullopt;

    Contents contents;
    for (int a = 0; a < xml->getNumAttributes(); ++a)
    {
        const auto name = xml->getAttributeName (a);
        const auto valueText = xml->getAttributeValue (a);

        if (name == programAttribute.toString())
        {
            contents.currentProgram = parseProgramIndex (valueText);
            if (! contents.currentProgram)
                return std::nullopt;
            continue;
        }

        const int index = ParameterStore::indexOf (name);
        if (index < 0)
            continue;

        const auto value = StrictNumber::parseFinite (valueText);
        if (! value)
            return std::nullopt;
        contents.values.emplace_back (index, *value);
    }

    return contents;
}
} // namespace StateBlock
