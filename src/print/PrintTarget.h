#pragma once

#include <QString>

class QPainter;

// Where printed pages go: a printer's job, or a PDF or picture file. Pages arrive in device
// pixels at the target's own resolution.
class TPrintTarget {
public:
    virtual ~TPrintTarget() = default;
    // Starts a job with the title; false with Error() set when it cannot start.
    virtual bool BeginDoc(const QString& title) = 0;
    virtual bool NewPage() = 0;
    virtual bool EndDoc() = 0;
    // Drops the job under way.
    virtual void Abort() = 0;
    virtual QPainter& Canvas() = 0;
    virtual QString Error() const = 0;
};
