#include "ui/FormAdapters.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/Unit1.h"

namespace tarvelin {

std::string FormSettings::coefficientText(Coefficient c, ValueKind kind) const {
  return form_.coefficientEdit(c, kind)->text().toLocal8Bit().toStdString();
}

bool FormSettings::isVariantSelected(VariantId id) const {
  return form_.variantRadio(id)->isChecked();
}

bool FormSettings::isSolverSelected(SolverId id) const {
  return form_.solverRadio(id)->isChecked();
}

void FormResultLabels::setResultLabel(Coefficient c, const std::string& text) {
  QLabel* label = form_.resultLabel(c);
  label->setText(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
  label->adjustSize();
}

}  // namespace tarvelin
