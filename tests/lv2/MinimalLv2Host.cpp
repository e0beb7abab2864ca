#include "MinimalLv2Host.h"

#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/patch/patch.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace brevalon::test
{
namespace
{
// A node freed when it goes out of scope.
struct NodeDeleter
{
    void operator() (LilvNode* node) const { lilv_node_free (node); }
};
using Node = std::unique_ptr<LilvNode, NodeDeleter>;

constexpr size_t atomBufferBytes = 16384;
} // namespace

MinimalLv2Host::MinimalLv2Host (const std::string& bundlePath, const std::string& pluginUri)
    : world (lilv_world_new())
{
    const auto folder = bundlePath.back() == '/' ? bundlePath : bundlePath + "/";
    const Node bundle (lilv_new_file_uri (world, nullptr, folder.c_str()));
    lilv_world_load_bundle (world, bundle.get());

    const Node uri (lilv_new_uri (world, pluginUri.c_str()));
    plugin = lilv_plugins_get_by_uri (lilv_world_get_all_plugins (world), uri.get());
    // Reads the plug-in's data files (the manifest names them), so the world's queries see them.
    if (plugin != nullptr)
        lilv_plugin_get_num_ports (plugin);
}

MinimalLv2Host::~MinimalLv2Host()
{
    if (instance != nullptr)
    {
        lilv_instance_deactivate (instance);
        lilv_instance_free (instance);
    }
    lilv_world_free (world);
}

LV2_URID MinimalLv2Host::mapUri (LV2_URID_Map_Handle handle, const char* uri)
{
    return static_cast<MinimalLv2Host*> (handle)->map (uri);
}

LV2_URID MinimalLv2Host::map (const std::string& uri)
{
    const auto found = std::find (uris.begin(), uris.end(), uri);
    if (found != uris.end())
        return static_cast<LV2_URID> (found - uris.begin());
    uris.push_back (uri);
    return static_cast<LV2_URID> (uris.size() - 1);
}

const std::string& MinimalLv2Host::unmap (LV2_URID urid) const
{
    return urid < uris.size() ? uris[urid] : uris[0];
}

std::vector<std::string> MinimalLv2Host::writableProperties() const
{
    std::vector<std::string> result;
    const Node writable (lilv_new_uri (world, LV2_PATCH__writable));
    LilvNodes* properties = lilv_world_find_nodes (world, lilv_plugin_get_uri (plugin), writable.get(), nullptr);
    LILV_FOREACH (nodes, i, properties)
    {
        result.emplace_back (lilv_node_as_uri (lilv_nodes_get (properties, i)));
    }
    lilv_nodes_free (properties);
    std::sort (result.begin(), result.end());
    return result;
}

float MinimalLv2Host::declaredDefault (const std::string& propertyUri) const
{
    const Node property (lilv_new_uri (world, propertyUri.c_str()));
    const Node predicate (lilv_new_uri (world, LV2_CORE__default));
    const Node value (lilv_world_get (world, property.get(), predicate.get(), nullptr));
    if (value == nullptr || ! (lilv_node_is_float (value.get()) || lilv_node_is_int (value.get())))
        return std::numeric_limits<float>::quiet_NaN();
    return lilv_node_as_float (value.get());
}

bool MinimalLv2Host::instantiate (double sampleRate, int maximumBlockSize)
{
    maximumBlock = maximumBlockSize;
    sequenceSize = static_cast<int32_t> (atomBufferBytes);

    const LV2_URID intType = map (LV2_ATOM__Int);
    const LV2_Options_Option options[] = {
        { LV2_OPTIONS_INSTANCE, 0, map (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), intType, &maximumBlock },
        { LV2_OPTIONS_INSTANCE, 0, map (LV2_BUF_SIZE__minBlockLength), sizeof (int32_t), intType, &maximumBlock },
        { LV2_OPTIONS_INSTANCE, 0, map (LV2_BUF_SIZE__sequenceSize), sizeof (int32_t), intType, &sequenceSize },
        { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr },
    };
    const LV2_Feature mapFeature{ LV2_URID__map, &uridMap };
    const LV2_Feature boundedFeature{ LV2_BUF_SIZE__boundedBlockLength, nullptr };
    const LV2_Feature optionsFeature{ LV2_OPTIONS__options, const_cast<LV2_Options_Option*> (options) };
    const LV2_Feature* features[] = { &mapFeature, &boundedFeature, &optionsFeature, nullptr };

    instance = lilv_plugin_instantiate (plugin, sampleRate, features);
    if (instance == nullptr)
        return false;

    const auto numPorts = lilv_plugin_get_num_ports (plugin);
    controls.assign (numPorts, 0.0f);
    std::vector<float> defaults (numPorts, std::numeric_limits<float>::quiet_NaN());
    lilv_plugin_get_port_ranges_float (plugin, nullptr, nullptr, defaults.data());

    const Node audioClass (lilv_new_uri (world, LILV_URI_AUDIO_PORT));
    const Node controlClass (lilv_new_uri (world, LILV_URI_CONTROL_PORT));
    const Node atomClass (lilv_new_uri (world, LILV_URI_ATOM_PORT));
    const Node inputClass (lilv_new_uri (world, LILV_URI_INPUT_PORT));
    atomInput.assign (atomBufferBytes / sizeof (uint64_t), 0);
    atomOutput.assign (atomBufferBytes / sizeof (uint64_t), 0);
    audio.clear();
    audio.reserve (numPorts); // the connected buffers never move

    for (uint32_t index = 0; index < numPorts; ++index)
    {
        const LilvPort* port = lilv_plugin_get_port_by_index (plugin, index);
        const bool isInput = lilv_port_is_a (plugin, port, inputClass.get());
        if (lilv_port_is_a (plugin, port, audioClass.get()))
        {
            audio.emplace_back ((size_t)maximumBlockSize, 0.0f);
            lilv_instance_connect_port (instance, index, audio.back().data());
        }
        else if (lilv_port_is_a (plugin, port, controlClass.get()))
        {
            controls[index] = std::isnan (defaults[index]) ? 0.0f : defaults[index];
            lilv_instance_connect_port (instance, index, &controls[index]);
        }
        else if (lilv_port_is_a (plugin, port, atomClass.get()))
        {
            (isInput ? atomInputPorts : atomOutputPorts).push_back (index);
            lilv_instance_connect_port (instance, index, isInput ? atomInput.data() : atomOutput.data());
        }
    }
    lilv_instance_activate (instance);
    return true;
}

void MinimalLv2Host::run (int numSamples, bool requestValues, bool readMessages)
{
    LV2_Atom_Forge forge;
    lv2_atom_forge_init (&forge, &uridMap);
    lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (atomInput.data()), atomBufferBytes);
    LV2_Atom_Forge_Frame sequenceFrame;
    lv2_atom_forge_sequence_head (&forge, &sequenceFrame, 0);
    if (requestValues)
    {
        LV2_Atom_Forge_Frame objectFrame;
        lv2_atom_forge_frame_time (&forge, 0);
        lv2_atom_forge_object (&forge, &objectFrame, 0, map (LV2_PATCH__Get));
        lv2_atom_forge_pop (&forge, &objectFrame);
    }
    lv2_atom_forge_pop (&forge, &sequenceFrame);

    // The output: an empty chunk of the buffer's capacity for the plug-in to write into.
    auto* output = reinterpret_cast<LV2_Atom*> (atomOutput.data());
    output->type = map (LV2_ATOM__Chunk);
    output->size = static_cast<uint32_t> (atomBufferBytes - sizeof (LV2_Atom));

    for (auto& channel : audio)
        std::fill (channel.begin(), channel.end(), 0.0f);
    lilv_instance_run (instance, static_cast<uint32_t> (numSamples));

    if (readMessages)
        readNotifyOutput();
}

void MinimalLv2Host::readNotifyOutput()
{
    const auto* sequence = reinterpret_cast<const LV2_Atom_Sequence*> (atomOutput.data());
    if (sequence->atom.type != map (LV2_ATOM__Sequence))
        return;

    const LV2_URID objectType = map (LV2_ATOM__Object);
    const LV2_URID setType = map (LV2_PATCH__Set);
    const LV2_URID propertyKey = map (LV2_PATCH__property);
    const LV2_URID valueKey = map (LV2_PATCH__value);
    const LV2_URID uridType = map (LV2_ATOM__URID);
    const LV2_URID floatType = map (LV2_ATOM__Float);

    LV2_ATOM_SEQUENCE_FOREACH (sequence, event)
    {
        if (event->body.type != objectType)
            continue;
        const auto* object = reinterpret_cast<const LV2_Atom_Object*> (&event->body);
        if (object->body.otype != setType)
            continue;
        const LV2_Atom* property = nullptr;
        const LV2_Atom* value = nullptr;
        lv2_atom_object_get (object, propertyKey, &property, valueKey, &value, 0);
        if (property != nullptr && value != nullptr && property->type == uridType && value->type == floatType)
            announced[unmap (reinterpret_cast<const LV2_Atom_URID*> (property)->body)] =
                reinterpret_cast<const LV2_Atom_Float*> (value)->body;
    }
}

} // namespace brevalon::test
