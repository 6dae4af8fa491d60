#include "interop/TableEngine.h"

#include <algorithm>
#include <cmath>
#include <fl/Headers.h>
#include <map>
#include <vector>

namespace {

// The sector order of FuzzyInference: left, front, right.
const char* const kInputNames[3] = {"left", "front", "right"};
const char* const kOutputNames[2] = {"angle", "speed"};
// Sector distances run from a beam that ends just behind the robot's front to the far
// side of the 256-pixel arena and beyond; the range only documents them, it never clamps.
constexpr double kInputMinimum = -16, kInputMaximum = 512;
// A ramp written with 17 digits reads back bit for bit; a looser tolerance still accepts a
// file typed by hand with the bounds to nine digits, and nothing coarser.
constexpr double kRampTolerance = 1e-9;

std::string SituationName(int k)
{
    return "S" + std::to_string(k + 1);
}

std::string RuleText(int k)
{
    const char* const degree[2] = {"blocked", "free"};
    return std::string("if left is ") + degree[(k >> 2) & 1] + " and front is " + degree[(k >> 1) & 1] +
           " and right is " + degree[k & 1] + " then angle is " + SituationName(k) + " and speed is " +
           SituationName(k);
}

bool Refuse(TableRefusal& refusal, std::string french, std::string english)
{
    refusal = {std::move(french), std::move(english)};
    return false;
}

bool SameBound(double read, double expected)
{
    return std::abs(read - expected) <= kRampTolerance * std::max(1.0, std::abs(expected));
}

bool IsRamp(const fl::Term* term, double start, double end)
{
    const auto* ramp = dynamic_cast<const fl::Ramp*>(term);
    return ramp && ramp->getHeight() == 1.0 && SameBound(ramp->getStart(), start) && SameBound(ramp->getEnd(), end);
}

bool CheckInput(const fl::Engine& engine, const std::string& name, RampBounds ramp, TableRefusal& refusal)
{
    if (!engine.hasInputVariable(name))
        return Refuse(refusal, "la variable d'entrée « " + name + " » manque",
                      "the input variable '" + name + "' is missing");
    const fl::InputVariable* input = engine.getInputVariable(name);
    if (!input->isEnabled() || input->isLockValueInRange())
        return Refuse(refusal, "la variable d'entrée « " + name + " » est désactivée ou bornée",
                      "the input variable '" + name + "' is disabled or locked to its range");
    if (input->numberOfTerms() != 2 || !input->hasTerm("blocked") || !input->hasTerm("free"))
        return Refuse(refusal,
                      "la variable d'entrée « " + name + " » doit avoir les seuls termes « blocked » et « free »",
                      "the input variable '" + name + "' must have exactly the terms 'blocked' and 'free'");
    if (!IsRamp(input->getTerm("blocked"), ramp.farDistance, ramp.nearDistance) ||
        !IsRamp(input->getTerm("free"), ramp.nearDistance, ramp.farDistance)) {
        const std::string bounds = fl::Op::str(ramp.nearDistance) + " / " + fl::Op::str(ramp.farDistance);
        return Refuse(refusal,
                      "les termes de « " + name + " » ne sont pas les rampes du robot (proche / loin : " + bounds + ")",
                      "the terms of '" + name + "' are not the robot's ramps (near / far: " + bounds + ")");
    }
    return true;
}

bool CheckOutput(const fl::Engine& engine, const std::string& name, TableRefusal& refusal)
{
    if (!engine.hasOutputVariable(name))
        return Refuse(refusal, "la variable de sortie « " + name + " » manque",
                      "the output variable '" + name + "' is missing");
    const fl::OutputVariable* output = engine.getOutputVariable(name);
    if (!output->isEnabled() || output->isLockValueInRange())
        return Refuse(refusal, "la variable de sortie « " + name + " » est désactivée ou bornée",
                      "the output variable '" + name + "' is disabled or locked to its range");
    const fl::Defuzzifier* defuzzifier = output->getDefuzzifier();
    if (!defuzzifier || defuzzifier->className() != "WeightedSum")
        return Refuse(refusal, "la sortie « " + name + " » doit être défuzzifiée par « WeightedSum »",
                      "the output '" + name + "' must use the defuzzifier 'WeightedSum'");
    if (output->numberOfTerms() != InferenceTable::kSituations)
        return Refuse(refusal, "la sortie « " + name + " » doit avoir huit termes, S1 à S8",
                      "the output '" + name + "' must have eight terms, S1 to S8");
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        const fl::Term* term = output->hasTerm(SituationName(k)) ? output->getTerm(SituationName(k)) : nullptr;
        const auto* constant = dynamic_cast<const fl::Constant*>(term);
        if (!constant || !std::isfinite(constant->getValue()))
            return Refuse(refusal,
                          "le terme « " + SituationName(k) + " » de « " + name + " » doit être une constante finie",
                          "the term '" + SituationName(k) + "' of '" + name + "' must be a finite Constant");
    }
    return true;
}

// Collects "variable is term" of an antecedent made of propositions joined by "and" only.
// A file may chain any number of terms: the tree is walked with a stack of our own.
bool CollectConjunction(const fl::Expression* root, std::map<std::string, std::string>& terms)
{
    std::vector<const fl::Expression*> pending{root};
    while (!pending.empty()) {
        const fl::Expression* expression = pending.back();
        pending.pop_back();
        if (!expression) return false;
        if (expression->type() == fl::Expression::Proposition) {
            const auto* proposition = static_cast<const fl::Proposition*>(expression);
            if (!proposition->variable || !proposition->term || !proposition->hedges.empty()) return false;
            if (!terms.emplace(proposition->variable->getName(), proposition->term->getName()).second) return false;
            continue;
        }
        const auto* join = static_cast<const fl::Operator*>(expression);
        if (join->name != fl::Rule::andKeyword()) return false;
        pending.push_back(join->right);
        pending.push_back(join->left);
    }
    return true;
}

// The situation a rule stands for, or -1 when it is not "if left is .. and front is ..
// and right is .. then angle is Sk and speed is Sk" with Sk its own situation.
int SituationOf(const fl::Rule& rule)
{
    if (!rule.isEnabled() || !rule.isLoaded() || rule.getWeight() != 1.0) return -1;
    std::map<std::string, std::string> antecedent;
    if (!CollectConjunction(rule.getAntecedent()->getExpression(), antecedent) || antecedent.size() != 3) return -1;
    int situation = 0;
    for (const char* input : kInputNames) {
        const auto found = antecedent.find(input);
        if (found == antecedent.end()) return -1;
        situation = 2 * situation + (found->second == "free" ? 1 : 0);
    }
    std::map<std::string, std::string> consequent;
    for (const fl::Proposition* conclusion : rule.getConsequent()->conclusions()) {
        if (!conclusion->variable || !conclusion->term || !conclusion->hedges.empty()) return -1;
        if (!consequent.emplace(conclusion->variable->getName(), conclusion->term->getName()).second) return -1;
    }
    if (consequent.size() != 2) return -1;
    for (const char* output : kOutputNames)
        if (consequent[output] != SituationName(situation)) return -1;
    return situation;
}

bool CheckRules(const fl::Engine& engine, TableRefusal& refusal)
{
    if (engine.numberOfRuleBlocks() != 1)
        return Refuse(refusal, "il faut un seul bloc de règles", "there must be exactly one rule block");
    const fl::RuleBlock* block = engine.getRuleBlock(0);
    if (!block->isEnabled() || !block->getConjunction() || block->getConjunction()->className() != "AlgebraicProduct")
        return Refuse(refusal, "le bloc de règles doit être actif, de conjonction « AlgebraicProduct »",
                      "the rule block must be enabled, with the conjunction 'AlgebraicProduct'");
    if (block->getActivation() && block->getActivation()->className() != "General")
        return Refuse(refusal, "le bloc de règles doit utiliser l'activation « General »",
                      "the rule block must use the activation 'General'");
    if (block->numberOfRules() != InferenceTable::kSituations)
        return Refuse(refusal, "il faut huit règles, une par situation",
                      "there must be eight rules, one per situation");
    bool seen[InferenceTable::kSituations] = {};
    for (std::size_t i = 0; i < block->numberOfRules(); ++i) {
        const int situation = SituationOf(*block->getRule(i));
        if (situation < 0 || seen[situation])
            return Refuse(refusal, "la règle « " + block->getRule(i)->getText() + " » n'est pas celle d'une situation",
                          "the rule '" + block->getRule(i)->getText() + "' is not one of the eight situations' rules");
        seen[situation] = true;
    }
    return true;
}

}  // namespace

std::unique_ptr<fl::Engine> BuildTableEngine(const InferenceTable& table, RampBounds ramp)
{
    auto engine = std::make_unique<fl::Engine>("Marlune");
    engine->setDescription("Marlune obstacle avoidance: sector distances in pixels, angle in degrees "
                           "(positive steers left), speed in pixels per step");
    for (const char* name : kInputNames) {
        auto* input = new fl::InputVariable(name, kInputMinimum, kInputMaximum);
        input->setLockValueInRange(false);
        input->addTerm(new fl::Ramp("blocked", ramp.farDistance, ramp.nearDistance));
        input->addTerm(new fl::Ramp("free", ramp.nearDistance, ramp.farDistance));
        engine->addInputVariable(input);
    }
    const double* const values[2] = {table.angles, table.speeds};
    for (int o = 0; o < 2; ++o) {
        const double* first = values[o];
        const double* last = first + InferenceTable::kSituations;
        auto* output = new fl::OutputVariable(kOutputNames[o], std::min(0.0, *std::min_element(first, last)),
                                              std::max(0.0, *std::max_element(first, last)));
        output->setLockValueInRange(false);
        output->setLockPreviousValue(false);
        output->setAggregation(fl::null);
        output->setDefuzzifier(new fl::WeightedSum);
        for (int k = 0; k < InferenceTable::kSituations; ++k)
            output->addTerm(new fl::Constant(SituationName(k), first[k]));
        engine->addOutputVariable(output);
    }
    auto* rules = new fl::RuleBlock("situations");
    rules->setConjunction(new fl::AlgebraicProduct);
    rules->setDisjunction(fl::null);
    rules->setImplication(fl::null);
    rules->setActivation(new fl::General);
    for (int k = 0; k < InferenceTable::kSituations; ++k) rules->addRule(fl::Rule::parse(RuleText(k), engine.get()));
    engine->addRuleBlock(rules);
    return engine;
}

bool ReadTableEngine(const fl::Engine& engine, RampBounds ramp, InferenceTable& table, TableRefusal& refusal)
{
    if (engine.numberOfInputVariables() != 3 || engine.numberOfOutputVariables() != 2)
        return Refuse(refusal, "il faut trois entrées (left, front, right) et deux sorties (angle, speed)",
                      "there must be three inputs (left, front, right) and two outputs (angle, speed)");
    for (const char* input : kInputNames)
        if (!CheckInput(engine, input, ramp, refusal)) return false;
    for (const char* output : kOutputNames)
        if (!CheckOutput(engine, output, refusal)) return false;
    if (!CheckRules(engine, refusal)) return false;

    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        const auto value = [&](const char* output) {
            return static_cast<const fl::Constant*>(engine.getOutputVariable(output)->getTerm(SituationName(k)))
                ->getValue();
        };
        table.angles[k] = value("angle");
        table.speeds[k] = value("speed");
    }
    return true;
}
