// The process's layer formats, installed by the programs that link them.
#include "data/layerformats.h"

namespace
{

const LayerFormats* installed = nullptr;

} // namespace

void install_layer_formats(const LayerFormats* formats)
{
    installed = formats;
}

const LayerFormats* layer_formats()
{
    return installed;
}
