#pragma once

#include "platform/Color.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <climits>
#include <vector>

// Millimetre ruler beside the page: ticks and centimetre numbers that follow the page at the
// current zoom, and a marker line at the mouse pointer.
enum TBltVec { bvHorz, bvVert };
enum TBltUnit { bu10mm, bu20mm, bu25mm, bu50mm, bu100mm };

// What decides where the ticks fall; the ruler's own state or any other for a dry run.
struct TRulerScale {
    TBltUnit Unit = bu25mm;
    int BltStart = 0;
    int BackSize = 0;
    int BltSameSize = 0;
    int BltmmSize = 0;
    int ScreenInch = 96;
};

struct TRulerTick {
    int N = 0;     // tick number: N × unit spacing paper units from the page's 0
    int Pos = 0;   // pixels along the ruler
    int Level = 1; // 1 long, 2 medium, 3 short: the tick starts Level quarters of the thickness in
    QString Text;  // centimetre number, empty when this tick carries none
    bool operator==(const TRulerTick&) const = default;
};

class TPriRuler : public QWidget {
    Q_OBJECT

public:
    explicit TPriRuler(QWidget* parent = nullptr, int screenInch = 96);

    TBltVec BltVec() const { return FBltVec; }
    void SetBltVec(TBltVec value);
    int BltStart() const { return FBltStart; }
    void SetBltStart(int value);
    int BackSize() const { return FBackSize; }
    void SetBackSize(int value);
    int BltSameSize() const { return FBltSameSize; }
    void SetBltSameSize(int value);
    int BltmmSize() const { return FBltmmSize; }
    void SetBltmmSize(int value);
    bool BltStrCheck() const { return FBltStrCheck; }
    void SetBltStrCheck(bool value);
    TBltUnit BltUnit() const { return FBltUnit; }
    void SetBltUnit(TBltUnit value);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int ScreenInch() const { return fScreenInch; }
    void SetScreenInch(int value);

    // Pointer position over the page in view pixels; a coordinate below 0 draws no marker.
    QPoint PointerMark() const { return FPointerMark; }
    void SetPointerMark(QPoint point);

    // Tick spacing in paper units (0.1 mm).
    static int UnitSpacing(TBltUnit unit);
    // The ticks n = 0 … BltmmSize / spacing whose position lies in [lowPos, highPos]; none unless
    // BltSameSize, BltmmSize and BackSize are all above 0.
    static std::vector<TRulerTick> ComputeTicks(const TRulerScale& scale, int lowPos = INT_MIN, int highPos = INT_MAX);
    TRulerScale Scale() const;
    // The face the numbers are drawn in: the vertical ruler writes them in the "@" face of its font.
    QString NumberFaceName() const;
    // The face used by the last paint that drew numbers (empty before).
    QString LastNumberFace() const { return fLastNumberFace; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DrawNumber(QPainter& painter, const QFont& font, int p, int q, const QString& text);

    TBltVec FBltVec = bvVert;
    int FBltStart = 0;
    int FBackSize = 0;
    int FBltSameSize = 0;
    int FBltmmSize = 0;
    bool FBltStrCheck = true;
    TBltUnit FBltUnit = bu25mm;
    TColor FTextColor = clBlack;
    TColor FColor = 13160660;
    QPoint FPointerMark{-1, -1};
    int fScreenInch;
    QString fLastNumberFace;
    bool fPressed = false;
};
