// The check every output gets when a coordinate system is chosen, the text formats and the drawing
// too (which hold no system of their own): the points written outside the system's area of use are
// counted, as the LandXML and GIS writers count them, and told.
#ifndef GEO_AREACHECK_H
#define GEO_AREACHECK_H

#include "crs/crstransform.h"
#include "data/formatwriter.h"
#include "data/pointfields.h"

#include <memory>

class AreaCheckedWriter : public FormatWriter
{
public:
    // `inner` writes rows laid out as `fields` (N and E found there).
    AreaCheckedWriter(std::unique_ptr<FormatWriter> inner, const PointFields& fields);

    bool needs_first_pass() const override { return inner_->needs_first_pass(); }
    void first_pass(const QString& point_line) override { inner_->first_pass(point_line); }
    void set_linework(const LineworkBuilder* linework) override { inner_->set_linework(linework); }
    bool open(const QString& crs) override;
    // The row as the inner writer writes it; a row it wrote is checked against the area.
    bool write_line(const QString& line) override;
    bool failed() const override { return inner_->failed(); }
    bool flush() override { return inner_->flush(); }
    bool finish() override { return inner_->finish(); }
    void cancel() override { inner_->cancel(); }
    // The inner writer's, with the points outside the area and the system they were checked in.
    LayerReport report() const override;

private:
    std::unique_ptr<FormatWriter> inner_;
    int north_field_;
    int east_field_;
    QString crs_;
    AreaOfUse area_;
    int outside_ = 0;
};

#endif // GEO_AREACHECK_H
