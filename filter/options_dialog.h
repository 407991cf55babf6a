// The code of the export options dialog: fills the controls from the record
// when the dialog opens and reads them back into it on OK.
#ifndef SVGFILTER_OPTIONS_DIALOG_H
#define SVGFILTER_OPTIONS_DIALOG_H

#include "platform/dialog.h"
#include "platform/resources.h"
#include "svgfilter/filter_abi.h"

namespace svgf::detail {

class ExportOptionsDialog : public platform::DialogProcedure {
  public:
    // `strings` is the module whose string table fills the lists.
    ExportOptionsDialog(SVGExportOptions& record, const platform::ResourceModule* strings)
        : record_(record), strings_(strings) {}

    int32_t Handle(platform::Dialog& dialog, platform::DialogMessage message, int32_t controlId,
                   platform::Notification notification) override;

  private:
    void Initialise(platform::Dialog& dialog);
    void ReadBack(const platform::Dialog& dialog);
    // Index at which the list of `control` holds the text of string `id`, -1 when none.
    int32_t IndexOfString(const platform::Dialog& dialog, int32_t control, uint32_t id,
                          int32_t bufferSize) const;

    SVGExportOptions& record_;
    const platform::ResourceModule* strings_;
};

}  // namespace svgf::detail

#endif  // SVGFILTER_OPTIONS_DIALOG_H
